// What a book adds to the reader template, in this order: the manifest that names the
// book for the phone, the index of its parts (index.txt) and one text entry per part
// (1.txt, 2.txt, ...); and the JAD written beside the jar. Text is UTF-8 inside the
// program; the manifest, the parts and the JAD are written as UTF-8 without a byte-order
// mark, the index as UTF-16LE with one.
#pragma once

#include "jar/book_info.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// "$$$" stands for the book name. /rd.PNG and Lumenread are the icon and the main class
// inside the reader template.
inline constexpr char MANIFEST_TEMPLATE[] =
    "Manifest-Version: 1.0\r\n"
    "Ant-Version: Apache Ant 1.6.5\r\n"
    "Created-By: www.qinghe.example\r\n"
    "MIDlet-1: $$$,/rd.PNG,Lumenread\r\n"
    "MIDlet-Vendor: Qinghe.example\r\n"
    "MIDlet-Version: 1.0\r\n"
    "MIDlet-Name: $$$\r\n"
    "MIDlet-Description: $$$\r\n"
    "MicroEdition-Configuration: CLDC-1.0\r\n"
    "MicroEdition-Profile: MIDP-1.0\r\n";

inline constexpr char kAnonymousAuthor[] = "佚名";
inline constexpr char kDefaultMaker[] = "qinghe.example";

// Entry names as passed to the archive engine (it stores backslashes as slashes).
inline constexpr char kManifestEntryName[] = "META-INF\\MANIFEST.MF";
// The manifest's name as the archive stores it, and as readers look it up.
inline constexpr char kManifestStoredName[] = "META-INF/MANIFEST.MF";
inline constexpr char kIndexEntryName[] = "index.txt";

// The template's file name in the working folder.
inline constexpr char kTemplateFileName[] = "RDbook.dat";

// Where the parts of one volume of a set lie in the whole book, counted in bytes of the
// part entries: those of the volumes before it, and of all volumes. The reader shows the
// progress through the whole book and goes to a percentage of it with them. A whole book
// (bookBytes 0) has none.
struct VolumePlace {
    std::uint64_t bytesBefore = 0;
    std::uint64_t bookBytes = 0;
};

// The manifest for a book name. In the MIDlet-1 line (name, icon, class) ASCII commas of
// the name become "，" so that the phone still finds three fields; MIDlet-Name and
// MIDlet-Description keep the name as it is. Lines are not folded. A volume of a set gets
// the attribute "Lumenread-Volume: BEFORE TOTAL" last (decimal bytes, see VolumePlace).
std::string MakeManifest(const std::string& bookName, const VolumePlace& place = {});

// The lines of a manifest or a JAD, each with its line end (LF, CR LF or a lone CR, as
// Java reads them); the last may have none. Views into text.
std::vector<std::string_view> ManifestLines(std::string_view text);
// A line without its line end.
std::string_view WithoutLineEnd(std::string_view line);

// The JAD of a jar holding a book of that name: the manifest's MIDlet- and MicroEdition-
// lines, the same values in the same order (a phone refuses a suite whose descriptor and
// manifest disagree), then MIDlet-Jar-URL, the jar's file name (the JAD lies beside it),
// and MIDlet-Jar-Size, the jar's exact size in bytes. CR LF line ends. A volume's JAD
// repeats its Lumenread-Volume line (phones read a JAD's attributes first).
std::string MakeJad(const std::string& bookName, const std::string& jarFileName, std::uint64_t jarBytes,
                    const VolumePlace& place = {});

// index.txt: FF FE, then in UTF-16LE the lines author (or 佚名), maker (or the default
// maker), book name and one title per part, each ended by CR LF, then a terminating NUL.
// A line break or NUL inside a field becomes a space, so every part keeps its line.
// With partBytes (one per title: the bytes of each part's entry), the NUL is followed by
// their decimal values, each ended by CR LF, and a second NUL: the reader places itself in
// the book with them without reading every part, and readers that stop at the first NUL
// (all before it) see the index they know.
std::string MakeIndex(const BookInfo& book, const std::vector<std::string>& titles,
                      const std::vector<std::uint64_t>& partBytes = {});

// The part lengths that follow the titles' NUL in index.txt (units after the first NUL, the
// final NUL included); nullopt when they are not lines of decimal digits ended by a NUL.
std::optional<std::vector<std::uint64_t>> ParseIndexLengths(std::u16string_view afterTitles);

// The text of a part entry: CR LF becomes LF; a lone CR or LF stays.
std::string MakePartText(const std::string& text);
// MakePartText(text).size(), without making it.
std::uint64_t PartTextBytes(const std::string& text);

// "1.txt" for part 0, "2.txt" for part 1, ...
std::string PartEntryName(std::size_t part);
// True for a name PartEntryName gives (digits without a leading zero, then ".txt").
bool IsPartEntryName(const std::string& stored);
// True for a stored name that Java takes for the manifest: META-INF/MANIFEST.MF in any case.
bool IsManifestName(const std::string& stored);

// True when name can be a Windows file name part: none of \ / : * ? " < > | and no control
// character (U+0000 to U+001F).
bool IsValidBookName(const std::string& name);
