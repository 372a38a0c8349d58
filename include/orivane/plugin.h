/* Orivane plug-in interface: what a layer plug-in or a command plug-in
 * (a shared object named in a game's script) may call in the engine, and the
 * entry points the engine calls in it. Plain C, the platform's default C
 * calling convention; the engine exports the functions below by name from
 * its executable, so a plug-in links against nothing and leaves them
 * undefined (the dynamic loader resolves them when the engine loads it).
 *
 * Pictures are 24-bit blue-green-red pixels, rows stored bottom-up (the first
 * row in memory is the bottom row of the picture), each row padded to a
 * multiple of four bytes.
 *
 * Every function may be called only from inside a call the engine made into
 * the plug-in (OrvnPlugInMain or a layer entry point), on that thread. Called
 * at any other time, each does nothing and returns 0. See docs/plugins.md. */
#ifndef ORIVANE_PLUGIN_H
#define ORIVANE_PLUGIN_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* A picture the engine or the plug-in owns, where Windows would hand out a
 * device context: `width` × `height` pixels, `stride` bytes per row (at least
 * width × 3), `pixels` pointing at the bottom row. A plug-in may make its own
 * record over its own memory to receive BltSpriteTo and BltBGTo; the engine
 * refuses (result 0) a null record, null pixels, a side that is not
 * 1 … 32767, or a stride below width × 3. */
typedef struct OrvnSurface {
  int32_t width;
  int32_t height;
  int32_t stride;
  unsigned char* pixels;
} OrvnSurface;

/* The picture AllocDIB fills: width, height, colour count (0 for 24-bit,
 * 256 for an 8-bit picture, whose pixels are then colour indices), and the
 * bottom-up rows, padded to four bytes, in a block the plug-in gives back
 * with FreeDIB. The three 32-bit fields come first, in this order; on a
 * 64-bit system the pointer is 64 bits wide and starts at byte 16 (after
 * four bytes of padding), so the record is 24 bytes. */
typedef struct OrvnPicture {
  int32_t width;
  int32_t height;
  int32_t color_count;
  unsigned char* pixels;
} OrvnPicture;

/* Handles that identify the engine's window and the plug-in's module. They
 * are opaque: a plug-in only passes them back or compares them. */
typedef struct OrvnWindowHandle* OrvnWindow;
typedef struct OrvnInstanceHandle* OrvnInstance;

/* The return string buffer handed to OrvnPlugInMain and Message holds this
 * many bytes, the terminating NUL included. */
#define ORVN_RETURN_STRING_SIZE 4096
/* OrvnGetFontType's name buffer must hold this many bytes. */
#define ORVN_FONT_NAME_SIZE 32
/* ORAGetFile's path buffer must hold this many bytes. */
#define ORVN_PATH_SIZE 260

/* ---- functions the engine exports ---------------------------------------- */

/* The main window. */
OrvnWindow OrvnGetWindow(void);
/* Writes the screen size (either pointer may be null); returns the height. */
int OrvnGetWindowSize(int* width, int* height);
/* The display surface: the picture the window shows after OrvnRefreshWindow
 * (or the script's `draw`). The record stays valid while the engine runs. */
OrvnSurface* OrvnGetDestDC(void);
/* The scene buffer the engine composes each frame into. */
OrvnSurface* OrvnGetSrcDC(void);
/* Shows the whole display surface in the window. */
void OrvnRefreshWindow(void);
/* Waits 2 ms and handles what the player did meanwhile; returns 1 once the
 * player has confirmed quitting (the plug-in should return soon), else 0. */
int OrvnDoEvents(void);
/* Copies the text font's face name (Shift-JIS, at most ORVN_FONT_NAME_SIZE
 * bytes with its NUL) into name; when the face is in the engine's font menu,
 * writes its position there into index, else leaves index unchanged. */
void OrvnGetFontType(char* name, int* index);
/* Writes a sprite's cell width (half the stored width for a picture with a
 * mask), height and cell count; returns the cell count (0 for a number
 * outside 0 … 999). */
int GetSpriteData(int sprite, int* cellWidth, int* height, int* cells);
/* Copies the sprite's whole picture (every cell) to (0, 0) of dest, clipped
 * to dest; returns 1, or 0 when nothing could be copied. */
int BltSpriteTo(OrvnSurface* dest, int sprite);
/* Copies the whole background picture to (0, 0) of dest; 1 or 0 as above. */
int BltBGTo(OrvnSurface* dest);
/* Sets the sprite's cell and opacity (they stay set) and draws it into the
 * scene buffer with its top-left at (x, y). */
void RenderSprite(int sprite, int cell, int x, int y, int opacity);
/* Sets the sprite's cell (0 … cells; past the last draws the last) and
 * opacity (0 … 255), which stay set, and draws it into the display surface
 * with its top-left at (x, y). */
void DrawSP(int sprite, int cell, int opacity, int x, int y);
/* As DrawSP, with the cell's centre at (x, y), scaled by scaleX and scaleY
 * percent and turned clockwise by angle degrees. */
void DrawSP2(int sprite, int cell, int opacity, int x, int y, int scaleX, int scaleY, int angle);
/* Copies the background into the display surface. */
void DrawBG(void);
/* Draws the background into the display surface as DrawSP2 draws a sprite
 * (opaque, one cell). */
void DrawBG2(int x, int y, int scaleX, int scaleY, int angle);
/* Fills the display surface black. */
void DrawClear(void);
/* Fills the display surface with one colour. */
void DrawFill(unsigned char red, unsigned char green, unsigned char blue);
/* Looks a file up in the game's archives. On success writes the archive's
 * path (at most ORVN_PATH_SIZE bytes with its NUL), the offset of the entry's
 * data in that file and its unpacked length, and returns 1; else returns 0. */
int ORAGetFile(const char* name, char* archivePath, int* offset, int* length);
/* Loads a picture by its image tag into out (a copy the plug-in owns); when
 * it cannot be loaded, all four fields are 0. */
void AllocDIB(OrvnPicture* out, const char* tag);
/* Frees the pixels of a record AllocDIB filled and sets the pointer to null. */
void FreeDIB(OrvnPicture* picture);

/* ---- entry points a plug-in exports --------------------------------------- */

/* A command plug-in, run by `exec_dll "name.dll/parameters"`: parameters is
 * the text after the "/", returnValue and returnString the values `getret`
 * reads next (returnString holds ORVN_RETURN_STRING_SIZE bytes and comes in
 * with the current return string). A result of 1 repaints the window from
 * the display surface. */
typedef int (*OrvnPlugInMainFn)(OrvnInstance instance, OrvnWindow window, char* parameters,
                                int* returnValue, char* returnString);

/* A layer plug-in, set by `setlayer n, interval, "name.dll/parameters"` and
 * shown by a sprite whose tag is "*n". Each entry point is optional. */
/* Once, when the game starts, with the text after the "/". */
typedef void (*OrvnLayerInitializeFn)(const char* parameters);
/* Once, when the game ends normally. */
typedef void (*OrvnLayerFinalizeFn)(void);
/* Every `interval` ms while a sprite shows the layer; non-zero: the picture
 * changed and the screen is composed again. */
typedef int (*OrvnLayerTimerFn)(void);
/* Draws the layer into the scene buffer's pixels (the screen's size, rows
 * bottom-up), within area = {left, top, right + 1, bottom + 1} (top-down
 * coordinates). */
typedef void (*OrvnLayerDrawFn)(unsigned char* pixels, int* area);
/* Runs `layermessage n, "text"`; non-zero: the screen is composed again at
 * the next update. */
typedef int (*OrvnLayerMessageFn)(char* text, int* returnValue, char* returnString);

#ifdef __cplusplus
}
#endif

#endif /* ORIVANE_PLUGIN_H */
