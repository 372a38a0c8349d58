// The scripted player's input language: parsing, timing of `after`, and what
// a wait for the player does when the input runs out.
#include "platform/scripted_player.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orivane {
namespace {

using Kind = PlayerEvent::Kind;

std::vector<PlayerEvent> EventsOf(std::string_view line) {
  ScriptedLine parsed;
  bool skip = false;
  std::string error;
  EXPECT_TRUE(ParseScriptedLine(line, parsed, skip, error)) << line << ": " << error;
  return parsed.events;
}

TEST(ScriptedPlayerParse, EventLinesExpandToWhatThePlayerDoes) {
  auto click = EventsOf("click 12 -7");
  ASSERT_EQ(click.size(), 3u);
  EXPECT_EQ(click[0].kind, Kind::kPointerMove);
  EXPECT_EQ(click[1].kind, Kind::kButtonDown);
  EXPECT_EQ(click[2].kind, Kind::kButtonUp);
  EXPECT_EQ(click[2].button, PointerButton::kLeft);
  EXPECT_EQ(click[2].x, 12);
  EXPECT_EQ(click[2].y, -7);

  EXPECT_EQ(EventsOf("rclick 1 2")[2].button, PointerButton::kRight);

  auto wheel = EventsOf("wheel -2");
  ASSERT_EQ(wheel.size(), 1u);
  EXPECT_EQ(wheel[0].value, -240);

  auto enter = EventsOf("key enter");
  ASSERT_EQ(enter.size(), 3u);
  EXPECT_EQ(enter[0].kind, Kind::kKeyDown);
  EXPECT_EQ(enter[0].key, kKeyEnter);
  EXPECT_EQ(enter[1].kind, Kind::kCharacter);
  EXPECT_EQ(enter[1].value, 13);
  EXPECT_EQ(enter[2].kind, Kind::kKeyUp);

  auto upper = EventsOf("key N");
  EXPECT_EQ(upper[0].key, 'n');
  EXPECT_EQ(upper[1].value, 'N');  // the character keeps its case

  auto f12 = EventsOf("key f12");
  EXPECT_EQ(f12[0].key, kKeyF12);
  EXPECT_EQ(f12.size(), 2u);  // no character

  auto held = EventsOf("keydown ctrl");
  ASSERT_EQ(held.size(), 1u);
  EXPECT_EQ(held[0].kind, Kind::kKeyDown);
  EXPECT_EQ(held[0].key, kKeyCtrl);
  EXPECT_EQ(EventsOf("keyup ctrl")[0].kind, Kind::kKeyUp);

  auto menu = EventsOf("after 250 menu 40002");
  ASSERT_EQ(menu.size(), 1u);
  EXPECT_EQ(menu[0].kind, Kind::kMenuCommand);
  EXPECT_EQ(menu[0].value, 40002);
  EXPECT_EQ(EventsOf("close")[0].kind, Kind::kClose);
}

TEST(ScriptedPlayerParse, AnswersAndTextKeepTheirContent) {
  ScriptedLine line;
  bool skip = false;
  std::string error;
  ASSERT_TRUE(ParseScriptedLine("after 10 text  two  words", line, skip, error));
  EXPECT_EQ(line.kind, ScriptedLine::Kind::kText);
  EXPECT_EQ(line.text, "two  words");
  EXPECT_EQ(line.delay_ms, 10u);
  ASSERT_TRUE(ParseScriptedLine("answer no", line, skip, error));
  EXPECT_EQ(line.answer, Answer::kNo);
  ASSERT_TRUE(ParseScriptedLine("  # a comment", line, skip, error));
  EXPECT_TRUE(skip);
}

TEST(ScriptedPlayerParse, BadLinesAreRefusedWithFileAndLine) {
  const char* bad[] = {
      "click 1",        "click 1 2 3",   "click a b",  "wheel 0",     "wheel",        "key",
      "key shiftlock",  "key f13",       "menu",       "menu -1",     "answer maybe", "after",
      "after 10",       "after -5 close", "close now", "jump 1 2",
      "choose",         "choose 0",      "choose 51",  "choose two",
  };
  for (const char* line : bad) {
    ScriptedPlayer p;
    std::string error;
    std::string text = std::string("click 1 1\n\n") + line + "\n";
    EXPECT_FALSE(p.Parse("in.txt", text, error)) << line;
    EXPECT_EQ(error.rfind("in.txt:3: ", 0), 0u) << line << " -> " << error;
  }
}

TEST(ScriptedPlayerTiming, AfterCountsFromThePreviousLinesEffect) {
  ScriptedPlayer p;
  std::string error;
  ASSERT_TRUE(p.Parse("in.txt", "after 100 move 1 1\nafter 50 move 2 2\nmove 3 3\n", error));
  PlayerEvent e;
  EXPECT_FALSE(p.PollEvent(99, e));
  EXPECT_EQ(p.NextDue(), 100u);
  // Taken late, at 130: the next line is due 50 ms after that, not after 100.
  ASSERT_TRUE(p.PollEvent(130, e));
  EXPECT_EQ(e.x, 1);
  EXPECT_EQ(p.NextDue(), 180u);
  EXPECT_FALSE(p.PollEvent(179, e));
  ASSERT_TRUE(p.PollEvent(180, e));
  ASSERT_TRUE(p.PollEvent(180, e));
  EXPECT_EQ(e.x, 3);
  EXPECT_TRUE(p.Finished());
}

TEST(ScriptedPlayerIdle, OutOfInputClicksForClickWaitsAndEndsOtherWaits) {
  ScriptedPlayer p;
  std::string error;
  ASSERT_TRUE(p.Parse("in.txt", "move 1 1\n", error));
  EXPECT_EQ(p.Idle(PlayerWait::kOther, 0).what, IdleVerdict::What::kKeepWaiting);
  PlayerEvent e;
  ASSERT_TRUE(p.PollEvent(0, e));
  EXPECT_EQ(p.Idle(PlayerWait::kClick, 0).what, IdleVerdict::What::kClickNow);
  EXPECT_EQ(p.Idle(PlayerWait::kPage, 0).what, IdleVerdict::What::kClickNow);
  IdleVerdict other = p.Idle(PlayerWait::kOther, 0);
  EXPECT_EQ(other.what, IdleVerdict::What::kEndRun);
  EXPECT_EQ(other.status, 0);
  EXPECT_NE(other.note.find("in.txt"), std::string::npos) << other.note;
  EXPECT_NE(other.note.find("line 1"), std::string::npos) << other.note;
}

TEST(ScriptedPlayerIdle, AnAnswerWithNoBoxOpenIsAnInputError) {
  ScriptedPlayer p;
  std::string error;
  ASSERT_TRUE(p.Parse("in.txt", "answer yes\n", error));
  IdleVerdict v = p.Idle(PlayerWait::kClick, 0);
  EXPECT_EQ(v.what, IdleVerdict::What::kEndRun);
  EXPECT_EQ(v.status, 2);
  EXPECT_NE(v.note.find("in.txt:1"), std::string::npos) << v.note;
}

// A `choose` line belongs to a selection: it is taken there once it is due,
// and any other wait that meets it ends the run as input that does not fit.
TEST(ScriptedPlayerIdle, AChooseLineIsTakenOnlyByASelectionOnceDue) {
  ScriptedPlayer p;
  std::string error;
  ASSERT_TRUE(p.Parse("in.txt", "move 1 1\nafter 300 choose 2\n", error));
  PlayerEvent e;
  ASSERT_TRUE(p.PollEvent(100, e));
  EXPECT_FALSE(p.PollEvent(500, e));  // never polled as an event
  EXPECT_TRUE(p.NextIsAnswer());

  IdleVerdict early = p.Idle(PlayerWait::kSelection, 399);
  EXPECT_EQ(early.what, IdleVerdict::What::kKeepWaiting);
  EXPECT_EQ(early.due, 400u);
  IdleVerdict taken = p.Idle(PlayerWait::kSelection, 400);
  EXPECT_EQ(taken.what, IdleVerdict::What::kChoose);
  EXPECT_EQ(taken.choice, 2);
  EXPECT_EQ(taken.note, "in.txt:2");
  EXPECT_TRUE(p.Finished());

  for (PlayerWait other : {PlayerWait::kButtons, PlayerWait::kOther}) {
    ScriptedPlayer q;
    ASSERT_TRUE(q.Parse("in.txt", "choose 1\n", error));
    IdleVerdict v = q.Idle(other, 0);
    EXPECT_EQ(v.what, IdleVerdict::What::kEndRun);
    EXPECT_EQ(v.status, 2);
    EXPECT_NE(v.note.find("in.txt:1: this line picks a choice"), std::string::npos) << v.note;
  }
  // Click and page waits before a decision are clicked through; the line stays.
  for (const char* line : {"choose 1\n", "button 4\n"})
    for (PlayerWait wait : {PlayerWait::kClick, PlayerWait::kPage}) {
      ScriptedPlayer q;
      ASSERT_TRUE(q.Parse("in.txt", line, error));
      EXPECT_EQ(q.Idle(wait, 0).what, IdleVerdict::What::kClickNow) << line;
      EXPECT_FALSE(q.Finished()) << line;
    }
  ScriptedPlayer answer;
  ASSERT_TRUE(answer.Parse("in.txt", "answer yes\n", error));
  EXPECT_EQ(answer.Idle(PlayerWait::kSelection, 0).status, 2);
}

TEST(ScriptedPlayerAnswer, EachBoxTakesOnlyTheAnswersItOffers) {
  struct Case {
    const char* line;
    Question::Buttons buttons;
    Answer expected;
    const char* text;
  } cases[] = {
      {"answer yes", Question::Buttons::kYesNo, Answer::kYes, ""},
      {"answer no", Question::Buttons::kYesNo, Answer::kNo, ""},
      {"answer ok", Question::Buttons::kYesNo, Answer::kBadInput, ""},
      {"answer ok", Question::Buttons::kOk, Answer::kOk, ""},
      {"answer yes", Question::Buttons::kOk, Answer::kBadInput, ""},
      {"text 42", Question::Buttons::kTextInput, Answer::kOk, "42"},
      {"answer ok", Question::Buttons::kTextInput, Answer::kOk, "initial"},
      {"answer cancel", Question::Buttons::kTextInput, Answer::kCancel, ""},
      {"text 42", Question::Buttons::kYesNo, Answer::kBadInput, ""},
      {"click 1 1", Question::Buttons::kYesNo, Answer::kBadInput, ""},
      {"choose 1", Question::Buttons::kOk, Answer::kBadInput, ""},
      {"answer ok", Question::Buttons::kOkCancel, Answer::kOk, ""},
      {"answer cancel", Question::Buttons::kOkCancel, Answer::kCancel, ""},
      {"answer yes", Question::Buttons::kOkCancel, Answer::kBadInput, ""},
      {"key escape", Question::Buttons::kTextInput, Answer::kCancel, ""},
      {"key escape", Question::Buttons::kOk, Answer::kBadInput, ""},
      {"key a", Question::Buttons::kTextInput, Answer::kBadInput, ""},
  };
  for (const Case& c : cases) {
    ScriptedPlayer p;
    std::string error;
    ASSERT_TRUE(p.Parse("in.txt", c.line, error));
    Question q;
    q.buttons = c.buttons;
    q.initial = "initial";
    Reply r = p.TakeAnswer(q, 0);
    EXPECT_EQ(r.answer, c.expected) << c.line;
    if (c.expected != Answer::kBadInput) {
      EXPECT_EQ(r.text, c.text) << c.line;
    }
    EXPECT_EQ(p.Finished(), c.expected != Answer::kBadInput) << c.line;
  }
  ScriptedPlayer empty;
  std::string error;
  ASSERT_TRUE(empty.Parse("in.txt", "", error));
  EXPECT_EQ(empty.TakeAnswer(Question{}, 0).answer, Answer::kNoPlayer);
}

// A box that only tells why an answer was refused takes an `answer ok` when
// one comes next, and otherwise leaves the line for the dialog that follows.
TEST(ScriptedPlayerAnswer, ANoticeIsPassedByWithoutTakingALine) {
  Question notice;
  notice.notice = true;
  for (const char* line : {"answer ok", "text 5"}) {
    ScriptedPlayer p;
    std::string error;
    ASSERT_TRUE(p.Parse("in.txt", line, error));
    EXPECT_EQ(p.TakeAnswer(notice, 0).answer, Answer::kOk) << line;
    EXPECT_EQ(p.Finished(), std::string(line) == "answer ok") << line;
  }
}

// A settings dialog takes one number per slider, kept within its range, or
// the text of one of its list entries; anything else does not answer it.
TEST(ScriptedPlayerAnswer, SettingsDialogsTakeValuesOrAnEntry) {
  Question sliders;
  sliders.buttons = Question::Buttons::kSettings;
  sliders.sliders = {QuestionSlider{"a", "", "", 0, 100, 40}, QuestionSlider{"b", "", "", 10, 20, 15}};
  Question list;
  list.buttons = Question::Buttons::kSettings;
  list.choices = {"デフォルト", "disc2"};
  struct Case {
    const Question* dialog;
    const char* line;
    Answer answer;
    std::vector<int32_t> values;
    int chosen;
  } cases[] = {
      {&sliders, "text 5 99", Answer::kOk, {5, 20}, 0},
      {&sliders, "text -3 0", Answer::kOk, {0, 10}, 0},
      {&sliders, "answer ok", Answer::kOk, {40, 15}, 0},
      {&sliders, "answer cancel", Answer::kCancel, {40, 15}, 0},
      {&sliders, "text 5", Answer::kBadInput, {}, 0},
      {&sliders, "text 5 6 7", Answer::kBadInput, {}, 0},
      {&sliders, "text a b", Answer::kBadInput, {}, 0},
      {&list, "text disc2", Answer::kOk, {}, 1},
      {&list, "text disc3", Answer::kBadInput, {}, 0},
  };
  for (const Case& c : cases) {
    ScriptedPlayer p;
    std::string error;
    ASSERT_TRUE(p.Parse("in.txt", c.line, error));
    const Reply r = p.TakeAnswer(*c.dialog, 0);
    EXPECT_EQ(r.answer, c.answer) << c.line;
    if (c.answer == Answer::kBadInput) continue;
    EXPECT_EQ(r.values, c.values) << c.line;
    EXPECT_EQ(r.chosen, c.chosen) << c.line;
  }
}

}  // namespace
}  // namespace orivane
