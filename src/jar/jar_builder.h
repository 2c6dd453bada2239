// Writes a book: a copy of the reader template with the book's manifest, index and parts
// appended (see jar_contents.h), and its JAD beside it. With a size limit the parts are
// placed in order into as many volumes as needed, each a complete book of its own within
// the limit. Every file is written to a temporary file beside its target and all are
// renamed into place together only when all are complete, so a failure leaves no file
// behind and earlier books of the same name as they were.
#pragma once

#include "jar/book_compression.h"
#include "jar/book_journal.h"
#include "jar/template_check.h"
#include "jar/book_info.h"
#include "sources/book_part.h"
#include "zip/zip_container.h"

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <utility>
#include <vector>

struct VolumePlace;

// Throws CJarException when the book cannot be written at jarPath: something that is not a
// regular file is there (outputNotFile), it is the same file, however spelled, as the
// template (outputIsTemplate) or one of the protected files (outputIsSource), or a
// read-only file (outputReadOnly).
void CheckBookPath(const std::string& jarPath, const std::string& templatePath,
                   const std::vector<std::string>& protectedFiles);
// The longest file name, in bytes and in UTF-16 units, that the file systems books are
// written to take (ext4's 255 bytes, NTFS's 255 units).
inline constexpr std::size_t kMaxFileNameLength = 255;

// Throws CJarException (fileNameTooLong) when the jar at jarPath or its JAD would have a
// longer file name; volume: the name checked is that of this volume ("(n)" before the
// extension); 0: the book's own. Temporary files are never longer (book_temp_file.h).
void CheckBookFileNames(const std::string& jarPath, std::size_t volume);

// CheckBookPath for a book's jar and its JAD; a jar named like a JAD ("x.jad") throws
// CJarException (outputIsDescriptor).
void CheckBookPaths(const std::string& jarPath, const std::string& templatePath,
                    const std::vector<std::string>& protectedFiles);

// One jar of a book as written: the whole book, or one of its volumes.
struct BookVolume {
    std::string jarPath;
    std::string jadPath;
    std::uint64_t bytes = 0;    // the jar's size
    std::size_t firstPart = 0;  // its first part's place in the book, from 0
    std::size_t parts = 0;
};

class CJarBuilder {
public:
    // done of total steps so far: the first jar's manifest and index, then each part as it
    // is written (after a part too large for the size limit: as it is measured). May throw
    // to stop the build.
    using ProgressFn = std::function<void(std::size_t done, std::size_t total)>;
    // What was put right, or left alone, of the files that killed builds left beside the
    // book; told once, before the book is written, so it is said however the build ends.
    using RecoveryFn = std::function<void(const RecoveryReport& report)>;

    explicit CJarBuilder(const BookInfo& book);
    virtual ~CJarBuilder();
    CJarBuilder(const CJarBuilder&) = delete;
    CJarBuilder& operator=(const CJarBuilder&) = delete;

    // The book's parts in book order. They are not copied: they must stay alive and
    // unchanged until BuildTo returns.
    void SetParts(const std::vector<BookPart>& parts) { m_pParts = &parts; }

    // Writes jarPath and its JAD (JadPathFor) from the checked template. With a
    // size limit, a book that does not fit within it in one jar is written as volumes
    // VolumePathFor(jarPath, 1), (2), ... with their JADs; older volumes numbered above the
    // new ones (jar or JAD) are removed with the commit, so that they are not taken for
    // volumes of the new book. A book in one jar leaves older volumes alone, and volumes
    // leave an older jarPath alone: they are the book for another phone.
    //
    // The book's name, its jar's and JAD's paths and the size limit are those of a request
    // CheckBookRequest accepted (make_book.h): they are not checked again here. Throws
    // CJarException partTooLarge for a part that does not fit within the limit alone (once
    // every part was measured, so the message can say which limit would do), what
    // CheckBookName, CheckBookFileNames and CheckBookPaths refuse of a volume's names, and
    // what the archive engine refused; CFileException naming the book's file concerned.
    void BuildTo(CCheckedTemplate& templ, const std::string& jarPath);

    // The most bytes a jar may have; 0: no limit, the book is one jar whatever its size.
    void SetMaxJarSize(std::uint64_t bytes) { m_nMaxJarBytes = bytes; }

    // How hard the parts (and the manifest and index) are packed; normal by default.
    void SetCompression(BookCompression compression) { m_nPackLevel = PackLevel(compression); }

    // Files the book must never be written over: the files its texts were read from.
    void SetProtectedFiles(std::vector<std::string> paths) { m_arrProtected = std::move(paths); }

    // The jars of the last successful build in order, and the older volumes it removed.
    const std::vector<BookVolume>& GetVolumes() const { return m_volumes; }
    const std::vector<std::string>& GetRemovedFiles() const { return m_arrRemoved; }

    // The clock that dates the new entries (tests fix it to compare books byte for byte).
    void SetClock(std::function<std::time_t()> clock) { m_zip.SetClock(std::move(clock)); }
    void SetProgress(ProgressFn progress) { m_progress = std::move(progress); }
    void SetRecoveryReport(RecoveryFn report) { m_recovery = std::move(report); }
    // Called as each volume of a book in volumes starts: its number (from 1), its jar, and
    // how many volumes the book will have as far as the text before it says (0 for the
    // first: not known yet).
    using VolumeFn = std::function<void(std::size_t volume, const std::string& jarPath, std::size_t estimated)>;
    void SetVolumeStarted(VolumeFn started) { m_volumeStarted = std::move(started); }

private:
    class VolumeSizes;
    struct Output;

    // Writes the book as one jar, its parts deflated on every core while they are written.
    void WriteWholeBook(Output& output);
    // Writes the volumes as the parts come from the cores, each as soon as its end is known.
    void WriteVolumes(Output& output);
    // Writes parts first..first+count-1 (parts[0..count-1]) as the jar and JAD of the given
    // volume (0: the whole book under its own names); expected: the jar's size as
    // VolumeSizes measured it.
    void WriteVolume(std::size_t volume, std::size_t first,
                     const std::vector<CZipPackedData>& parts, std::size_t count, std::uint64_t expected,
                     Output& output);
    // Copies the template to the jar's temporary file and adds the manifest (with the
    // volume's place in the whole book, for a volume of a set) and the index of the book
    // named bookName holding parts first..first+count-1.
    void BeginJar(const std::string& tempPath, const std::string& jarPath,
                  const std::string& bookName, std::size_t first, std::size_t count, const VolumePlace& place);
    void AddPart(std::size_t position, const CZipPackedData& packed);
    void WriteJad(const std::string& tempPath, const std::string& bookName, const std::string& jarPath,
                  std::uint64_t jarBytes, const VolumePlace& place);
    // The temporary file a file of the book is written to, recorded in the build's journal
    // and listed in output for the commit.
    std::string TargetTemp(const std::string& targetPath, Output& output);
    // Files of volumes numbered above `volumes` beside jarPath, up to the first number
    // that has neither a jar nor a JAD: each jar that IsBookVolume finds to be that volume
    // of this book and each JAD that IsBookJad finds to describe it; the template and
    // sources of the book left out.
    std::vector<std::string> OlderVolumesAbove(const std::string& jarPath, std::size_t volumes) const;
    void AddPacked(const std::string& name, const CZipPackedData& packed);
    [[noreturn]] void ThrowEntryRefused(const std::string& name) const;
    void EntryAdded();
    // Closes the archive without a directory and removes the temporary files.
    void Abandon(Output& output) noexcept;

    std::string m_strTargetPath;  // the book's file being written
    CCheckedTemplate* m_pTemplate = nullptr;  // during BuildTo
    CZipContainer m_zip;
    BookInfo m_book;
    const std::vector<BookPart>* m_pParts;
    std::vector<std::string> m_arrProtected;
    ProgressFn m_progress;
    RecoveryFn m_recovery;
    VolumeFn m_volumeStarted;
    std::size_t m_nDone = 0;
    std::size_t m_nTotal = 0;
    std::uint64_t m_nMaxJarBytes = 0;
    int m_nPackLevel = PackLevel(BookCompression::normal);
    std::vector<BookVolume> m_volumes;
    // Bytes of the part entries before each part, and of all last (for volumes).
    std::vector<std::uint64_t> m_partStarts;
    std::vector<std::string> m_arrRemoved;
};
