/* An archive reader plug-in for the tests. Its archives are text files of
 * lines "name=content"; a name is found ignoring letter case, its position is
 * the line number (from 1), and GetFile writes the content under the name
 * into the directory. "fail-info" and "fail-file" in a line make the
 * matching call report failure. */
#include <stdio.h>
#include <string.h>
#include <strings.h>

static int FindLine(const char* archive, const char* name, long want_line, char* out_name, char* out_content) {
  FILE* f = fopen(archive, "rb");
  char line[1024];
  long number = 0;
  if (!f) return 0;
  while (fgets(line, sizeof line, f)) {
    char* eq = strchr(line, '=');
    ++number;
    if (!eq) continue;
    *eq = 0;
    line[strcspn(line, "\r")] = 0;
    if ((name && strcasecmp(line, name) == 0) || (!name && number == want_line)) {
      strcpy(out_name, line);
      strcpy(out_content, eq + 1);
      out_content[strcspn(out_content, "\n")] = 0;
      fclose(f);
      return (int)number;
    }
  }
  fclose(f);
  return 0;
}

int GetFileInfo(const char* archive, long length, const char* name, unsigned int flags, void* info) {
  char found[1024], content[1024];
  int line;
  if (length != 0 || flags != 0x80) return 1;
  line = FindLine(archive, name, 0, found, content);
  if (line == 0 || strcmp(content, "fail-info") == 0) return 1;
  unsigned int position = (unsigned int)line;
  memcpy((char*)info + 8, &position, sizeof position);
  return 0;
}

int GetFile(const char* archive, long position, const char* directory, unsigned int flags, void* progress,
            long data) {
  char found[1024], content[1024], path[2048];
  FILE* out;
  if (flags != 0 || progress != NULL || data != 0) return 1;
  if (FindLine(archive, NULL, position, found, content) == 0 || strcmp(content, "fail-file") == 0) return 1;
  snprintf(path, sizeof path, "%s%s", directory, found);
  out = fopen(path, "wb");
  if (!out) return 1;
  fputs(content, out);
  fclose(out);
  return 0;
}
