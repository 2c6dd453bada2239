// The files a book is written as, beside each other in one folder: the jar, the JAD that
// describes it to a phone's installer, and, when the book is cut into volumes, one jar and
// one JAD per volume, numbered from 1.
#pragma once

#include <cstddef>
#include <string>

// True for a path whose file name ends in ".jad", in any case: a jar there would be its
// own JAD.
bool HasJadExtension(const std::string& path);

// The JAD beside a jar: the jar's path with its extension (".jar" or any other, or none)
// replaced by ".jad". "书.jar" gives "书.jad", "out" gives "out.jad".
std::string JadPathFor(const std::string& jarPath);

// Volume n (from 1) of the book at jarPath: "(n)" before the extension of the file name.
// "C:\书\三国.jar" gives "C:\书\三国(2).jar".
std::string VolumePathFor(const std::string& jarPath, std::size_t volume);

// The name of volume n in its manifest, its JAD and its index: "三国(2)". Volumes must not
// share a name: a phone keeps a MIDlet's records (the reader's saved page) under its name
// and vendor.
std::string VolumeBookName(const std::string& bookName, std::size_t volume);
