/* The two calls an archive reader plug-in exports (registered with `arc`).
 * A plug-in is a shared object; a game that names "reader.dll" loads
 * "reader.so". Both calls use the C calling convention and return 0 on
 * success.
 *
 * GetFileInfo(archive, 0, name, 0x80, info): looks `name` up in the archive
 * file `archive`; on success fills the info record, at least the 32-bit
 * position at byte 8 (little-endian), which must not be 0. The record has
 * room for 512 bytes and is zeroed before the call.
 *
 * GetFile(archive, position, directory, 0, NULL, 0): writes the file found at
 * `position` under its own name into `directory` (which ends in '/'). */
#ifndef ORIVANE_ARCHIVE_PLUGIN_ABI_H
#define ORIVANE_ARCHIVE_PLUGIN_ABI_H

#ifdef __cplusplus
extern "C" {
#endif

#define ORIVANE_ARCHIVE_INFO_BYTES 512
#define ORIVANE_ARCHIVE_INFO_POSITION_AT 8

typedef int (*OrivaneGetFileInfo)(const char* archive, long length, const char* name, unsigned int flags,
                                  void* info);
typedef int (*OrivaneGetFile)(const char* archive, long position, const char* directory, unsigned int flags,
                              void* progress, long data);

#ifdef __cplusplus
}
#endif

#endif
