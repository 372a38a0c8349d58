/* An example plug-in for Orivane: one shared object that is both a command
 * plug-in and a layer plug-in, written against include/orivane/plugin.h only.
 *
 * As a command plug-in:
 *   exec_dll "example_plugin.dll/LEFT TOP WIDTH HEIGHT RRGGBB"
 * fills that rectangle of the display surface with the colour (the script
 * shows it with `draw`), and leaves the number of pixels filled as the
 * return value and "filled" as the return string (`getret`).
 *
 * As a layer plug-in:
 *   setlayer 0, 0, "example_plugin.dll/LEFT TOP WIDTH HEIGHT RRGGBB"
 *   lsp 10, "*0"
 * paints the rectangle in the colour wherever the screen is composed, and
 *   layermessage 0, "RRGGBB"
 * changes the colour (the return value is 1, the return string the colour
 * before). */
#include <stdio.h>
#include <string.h>

#include "orivane/plugin.h"

typedef struct Box {
  int left, top, width, height;
  unsigned int rgb;
} Box;

static Box layer_box;

/* "LEFT TOP WIDTH HEIGHT RRGGBB"; 0 when the text says something else. */
static int ParseBox(const char* text, Box* box) {
  return sscanf(text, "%d %d %d %d %6x", &box->left, &box->top, &box->width, &box->height,
                &box->rgb) == 5;
}

/* Fills the part of the box inside `clip` (left, top, right, bottom, the
 * last two exclusive) of a screen-sized picture; returns the pixels filled. */
static long FillBox(unsigned char* pixels, int width, int height, int stride, const Box* box,
                    const int clip[4]) {
  int left = box->left > clip[0] ? box->left : clip[0];
  int top = box->top > clip[1] ? box->top : clip[1];
  int right = box->left + box->width < clip[2] ? box->left + box->width : clip[2];
  int bottom = box->top + box->height < clip[3] ? box->top + box->height : clip[3];
  long filled = 0;
  if (left < 0) left = 0;
  if (top < 0) top = 0;
  if (right > width) right = width;
  if (bottom > height) bottom = height;
  for (int y = top; y < bottom; ++y) {
    unsigned char* row = pixels + (long)(height - 1 - y) * stride; /* rows are bottom-up */
    for (int x = left; x < right; ++x, ++filled) {
      row[x * 3 + 0] = (unsigned char)(box->rgb & 0xFF);
      row[x * 3 + 1] = (unsigned char)((box->rgb >> 8) & 0xFF);
      row[x * 3 + 2] = (unsigned char)((box->rgb >> 16) & 0xFF);
    }
  }
  return filled;
}

/* ---- the command plug-in ---- */

int OrvnPlugInMain(OrvnInstance instance, OrvnWindow window, char* parameters, int* returnValue,
                   char* returnString) {
  (void)instance;
  (void)window;
  Box box;
  OrvnSurface* display = OrvnGetDestDC();
  if (!display || !ParseBox(parameters, &box)) {
    *returnValue = -1;
    snprintf(returnString, ORVN_RETURN_STRING_SIZE, "bad parameters");
    return 0;
  }
  const int everywhere[4] = {0, 0, display->width, display->height};
  *returnValue =
      (int)FillBox(display->pixels, display->width, display->height, display->stride, &box,
                   everywhere);
  snprintf(returnString, ORVN_RETURN_STRING_SIZE, "filled");
  return 0;
}

/* ---- the layer plug-in ---- */

void Initialize(const char* parameters) {
  if (!ParseBox(parameters, &layer_box)) memset(&layer_box, 0, sizeof layer_box);
}

void Finalize(void) {}

void Draw(unsigned char* pixels, int* area) {
  int width = 0, height = 0;
  OrvnGetWindowSize(&width, &height);
  const int stride = (width * 3 + 3) & ~3;
  FillBox(pixels, width, height, stride, &layer_box, area);
}

int Message(char* text, int* returnValue, char* returnString) {
  unsigned int rgb = 0;
  if (sscanf(text, "%6x", &rgb) != 1) {
    *returnValue = 0;
    return 0;
  }
  snprintf(returnString, ORVN_RETURN_STRING_SIZE, "%06x", layer_box.rgb);
  layer_box.rgb = rgb;
  *returnValue = 1;
  return 1; /* the picture changed */
}
