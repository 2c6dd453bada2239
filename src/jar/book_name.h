// What a book name must be: it names the book's file (<name>.jar) on Windows and the
// MIDlet in the manifest, whose lines Java and phones read only up to 512 bytes.
#pragma once

#include <cstddef>
#include <string>

// Longest manifest line that Java's manifest reader takes, line end included.
inline constexpr std::size_t kMaxManifestLineBytes = 512;

// True for a name that is empty or only (ASCII or full-width) spaces: no name at all.
bool IsBlankBookName(const std::string& name);

// Throws CJarException when the name cannot name a book: empty or only (ASCII or
// full-width) spaces, a character a Windows file name cannot hold, not valid UTF-8, a dot
// or space at the end, a device name of Windows (CON, NUL.txt, com1, ...) or so long that a
// manifest line would pass kMaxManifestLineBytes. volume: the name checked is that of this
// volume, which carries its number (VolumeBookName); 0: the book's own name.
void CheckBookName(const std::string& name, std::size_t volume = 0);

// True for the device names Windows keeps for itself in every folder, with or without an
// extension and in any case: CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to LPT9, CONIN$, CONOUT$.
bool IsReservedFileName(const std::string& name);
