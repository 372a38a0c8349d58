// Finding label lines: the vector scan and its plain form against a byte by
// byte statement of the rule, and the label table built from them at the
// edges of a script.
#include "script/label_scan.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "engine.h"
#include "script/labels.h"
#include "support/engine_fixture.h"

namespace orivane::test {
namespace {

// The rule, one byte at a time: a '*' is found when only blanks lie between
// it and the last newline (or `from`); the first NUL ends the search.
int32_t ReferenceLabelStar(const std::vector<uint8_t>& bytes, int32_t from) {
  bool line_start = true;
  for (int32_t p = from;; ++p) {
    uint8_t c = bytes[p];
    if (c == 0) return -1;
    if (c == '*' && line_start) return p;
    if (c == '\n')
      line_start = true;
    else if (c != ' ' && c != '\t')
      line_start = false;
  }
}

// Script bytes with the buffer's terminating NUL and padding.
std::vector<uint8_t> Padded(const std::string& script) {
  std::vector<uint8_t> bytes(script.begin(), script.end());
  bytes.resize(bytes.size() + 1 + kScriptPadding, 0);
  return bytes;
}

TEST(LabelScan, AgreesWithTheRuleOnRandomScripts) {
  std::mt19937 rng(20240611);
  // Mostly the bytes the rule looks at, a Shift-JIS lead byte, a CR, and now
  // and then a NUL; lengths across several 64-byte blocks.
  const std::string alphabet = "**  \t\n\nab\x82\r";
  for (int round = 0; round < 4000; ++round) {
    std::string script(rng() % 300, ' ');
    for (char& c : script) c = (rng() % 150 == 0) ? '\0' : alphabet[rng() % alphabet.size()];
    std::vector<uint8_t> bytes = Padded(script);
    const int32_t length = static_cast<int32_t>(script.size());
    int32_t first_nul = 0;
    while (bytes[first_nul] != 0) ++first_nul;
    for (int32_t from : {0, static_cast<int32_t>(rng() % (first_nul + 1)), first_nul}) {
      int32_t expected = ReferenceLabelStar(bytes, from);
      ASSERT_EQ(FindLabelStar(bytes.data(), from, length), expected)
          << "round " << round << " from " << from;
      ASSERT_EQ(label_scan_detail::FindLabelStarPlain(bytes.data(), from, length), expected)
          << "round " << round << " from " << from;
    }
  }
}

TEST(LabelScan, FindsAStarAtEveryOffsetOfABlock) {
  for (int offset = 0; offset < 140; ++offset) {
    for (const char* before : {"\n", "\n \t ", "x "}) {
      std::string script = std::string(offset, 'x') + before + "*l" + std::string(offset % 7, 'y');
      std::vector<uint8_t> bytes = Padded(script);
      int32_t star = static_cast<int32_t>(script.find('*'));
      int32_t expected = before[0] == '\n' ? star : -1;
      int32_t length = static_cast<int32_t>(script.size());
      EXPECT_EQ(FindLabelStar(bytes.data(), 0, length), expected) << offset << " " << before;
      EXPECT_EQ(label_scan_detail::FindLabelStarPlain(bytes.data(), 0, length), expected)
          << offset << " " << before;
    }
  }
}

TEST(LabelTable, LabelsAtTheEdgesOfAScript) {
  struct Case {
    const char* what;
    std::string bytes;
    std::vector<std::string> names;
  } cases[] = {
      {"a label that starts the script, no final newline", "*start", {"start"}},
      {"a label that ends the script, no final newline", "x\n*end", {"end"}},
      {"a second label after the first on its line", "*a *b\nx\n", {"a", "b"}},
      {"blank lines and indented labels", "*a\n\n  \t*b\nc *d\n", {"a", "b"}},
      {"a star after a lead byte", "\x82*x\n*y\n", {"y"}},
      {"a two-byte character ends the line before", "\x82\xA0\n*z\n", {"z"}},
      {"a CR is not a blank", "a\r*no\n\r\n*yes\n", {"yes"}},
      {"a NUL ends the scan", std::string("*a\n\0\n*b\n", 8), {"a"}},
      {"blanks between the star and the name", "*  spaced\n", {"spaced"}},
  };
  for (const Case& c : cases) {
    EngineFixture f;
    f.engine().script.Assign(std::vector<uint8_t>(c.bytes.begin(), c.bytes.end()));
    BuildLabelTable(f.engine());
    const LabelTable& t = f.engine().labels;
    std::vector<std::string> names;
    for (size_t i = 0; i < t.size(); ++i) names.push_back(t[i].name);
    EXPECT_EQ(names, c.names) << c.what;
    EXPECT_EQ(f.engine().script.pos, 0) << c.what;
  }
  EngineFixture f;
  f.SetScript("*a *b\nx\n");
  BuildLabelTable(f.engine());
  JumpToLabel(f.engine(), "a");
  EXPECT_EQ(f.Rest(), "*b");  // the label points at what follows it on its line
}

TEST(LabelTable, ErrorsComeInScriptOrder) {
  // The duplicate is reported although the next label's name is too long.
  EngineFixture f;
  f.SetScript("*a\n*A\n*" + std::string(300, 'x') + "\n");
  std::string err = f.ErrorOf([&] { BuildLabelTable(f.engine()); });
  EXPECT_EQ(err.substr(0, err.find("\n\n")), "エラー\nラベル*aの多重定義です。");
  EXPECT_NE(err.find("line:2"), std::string::npos) << err;
  // A name too long before any duplicate is reported as such.
  f.SetScript("*" + std::string(300, 'x') + "\n*a\n*a\n");
  err = f.ErrorOf([&] { BuildLabelTable(f.engine()); });
  EXPECT_EQ(err.substr(0, err.find('\n')), "命令エラー") << err;
  EXPECT_NE(err.find("長すぎるトークンです"), std::string::npos) << err;
}

TEST(LabelTable, FindKeepsTheFirstOfEachNameAcrossGrowth) {
  LabelTable table;
  for (int i = 0; i < 3000; ++i) table.Add(i, "l" + std::to_string(i));
  table.Add(5000, "l7");  // a second label of a name keeps the first
  for (int i = 0; i < 3000; i += 37) EXPECT_EQ(table.Find("l" + std::to_string(i)), i);
  EXPECT_EQ(table.Find("l7"), 7);
  EXPECT_EQ(table.Find("l3000"), -1);
  EXPECT_EQ(table.Find(""), -1);
  table.Clear();
  EXPECT_EQ(table.Find("l1"), -1);
  table.Add(9, "l1");
  EXPECT_EQ(table.Find("l1"), 0);
}

}  // namespace
}  // namespace orivane::test
