/* A sound converter for the tests: `expand` writes the input file, prefixed
   with "RIFF", under the output name, so that a test sound output takes the
   result for a wave file. An input named "*fail*" writes nothing. */
#include <stdio.h>
#include <string.h>

int expand(const char* input, const char* output) {
  if (strstr(input, "fail")) return 0;
  FILE* in = fopen(input, "rb");
  if (!in) return 0;
  FILE* out = fopen(output, "wb");
  if (!out) {
    fclose(in);
    return 0;
  }
  fputs("RIFF", out);
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, in)) > 0) fwrite(buffer, 1, n, out);
  fclose(in);
  fclose(out);
  return 1;
}
