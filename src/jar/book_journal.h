// The record a build keeps beside the book of every file it creates and moves, so that a
// build killed at any moment leaves nothing that a later build cannot put right, and a
// later build touches only the files such a record names.
//
// The record is a file of the temporary-file pattern (book_temp_file.h), created
// exclusively under a build id drawn at random, that starts with kJournalMagic and names
// the book's jar. It names, before each happens: every temporary file the build creates;
// at the commit, the plan (each old file set aside under which name, each new file with its
// size put in place of which target); and once every new file is in place, that the commit
// is done. A build that ends, by success or failure, removes it.
//
// Alive means holding the record's lock: the build locks its record from its creation to
// its removal (CFile::Lock), and a later build acts on a record only when it can take that
// lock itself. A build in another process namespace, on another machine sharing the folder
// or under Wine beside a native one holds the same system lock, so it is never taken for
// dead; a killed build's lock is gone with its process, whatever became of its id.
//
// What recovery trusts: a record is obeyed only when every name in it is a temporary name
// of that record (the pattern with the record's build id, its prefix the start of this
// book's name) or one of this book's own files (书名.jar/.jad, 书名(i).jar/.jad), compared
// as the file system compares names. A record with any other name (a path, a drive, a
// device, a file of the user's or of another book), of an unknown version, or larger than
// a build could write is not obeyed and not removed, and is reported. Only regular files
// are removed; the files a build reads (template, sources) are never touched.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class CFile;

inline constexpr char kJournalMagic[] = "BookMaker build record 2\n";

// A file of a book written to a temporary path, to be put in the place of targetPath.
struct PendingBookFile {
    std::string tempPath;
    std::string targetPath;
};

// What a later build did with the files a killed build left.
struct RecoveredFile {
    enum Action {
        removedTemporary,  // a file the killed build was writing, not yet in place
        removedNew,        // a new file put in place by a commit that did not finish
        restored,          // an old file set aside by that commit, given its name back
        removedOld,        // an old file set aside by a commit that finished
    };
    Action action;
    std::string path;  // where the file was (restored: the name it has again)
};

// A file named like a record that recovery did not carry out (or not wholly), and why.
struct RefusedRecord {
    std::string path;
    std::string reason;  // a Chinese clause: "记录里的“notes.txt”不是这本书的文件，未照它做任何事"
};

// What recovery did and what it left alone, said by the front ends whether the build then
// succeeds or fails.
struct RecoveryReport {
    std::vector<RecoveredFile> done;
    std::vector<RefusedRecord> refused;
    std::vector<std::string> running;  // records of this book whose builds run now
};

// What was done, in the words both front ends show before the file's path:
// "已删除中断的生成留下的临时文件：".
std::string RecoveredFileText(RecoveredFile::Action action);
// The words before a refused record's path: "未处理的生成记录：".
std::string RefusedRecordText();

class CBookJournal {
public:
    // The record of a build writing the book whose jar is jarPath, and files beside it;
    // nothing is created until the first temporary file is asked for.
    explicit CBookJournal(const std::string& jarPath);
    // Closes the record and leaves it: a build that did not end stays recoverable.
    ~CBookJournal();
    CBookJournal(const CBookJournal&) = delete;
    CBookJournal& operator=(const CBookJournal&) = delete;

    // Creates the record, locked, before the build looks at others' (RecordPath), so that
    // of two builds of one book started together at least one sees the other.
    void Begin();
    const std::string& RecordPath() const { return m_strPath; }

    // A temporary file beside targetPath that is not there yet, recorded before it is
    // created (the caller creates it, with CFile::modeCreateNew).
    std::string NewTempFile(const std::string& targetPath);

    // Puts every new file in the place of its target and takes the retired files away, all
    // together or not at all, even across a kill: the plan is recorded and pushed to the
    // disk, the files at the targets and the retired files are renamed to temporary names
    // of their own, each new file is renamed to its target, the commit is recorded as done,
    // the old files are removed and then the record. A failure removes the new files
    // already placed, gives the old ones back their names and throws CFileException naming
    // the file that could not be renamed; the new files not placed stay at their temporary
    // paths (Discard). When that undoing fails too, the record stays for a later build.
    // An old file that cannot be removed at the end stays, named in the record, which
    // stays too, for a later build.
    void Commit(const std::vector<PendingBookFile>& files, const std::vector<std::string>& retired);

    // A build that failed: removes the temporary files recorded and the record (unless a
    // failed commit could not be undone: then the record stays).
    void Discard() noexcept;

    // Tests: called before each change of the commit to the file system (the record's
    // lines included), with the number of changes made so far, so that a test can stop
    // the process there.
    static void SetStepHook(std::function<void(std::size_t step)> hook);

private:
    void Create();
    void Record(const std::string& line);
    void Step();
    void RemoveRecord();

    std::string m_strJarPath;   // as given: the record lies beside it and failures name it
    std::string m_strPath;      // the record; empty until created
    std::unique_ptr<CFile> m_file;
    std::uint32_t m_nBuildId = 0;
    std::uint16_t m_nNumber = 0;  // the next temporary name's number
    std::vector<std::string> m_arrTemps;
    std::size_t m_nSteps = 0;
    bool m_bKeep = false;  // a commit could not be undone: the record stays
};

// Puts right what killed builds of the book at jarPath left beside it: each record whose
// lock can be taken and that is trusted (see the class comment) is carried out and
// removed. Files the record names that are not regular files, or are protected (the files
// a build reads: its template and sources), are left alone. A record that cannot be wholly
// carried out stays for a later build and is reported. A record of this book whose lock
// another build holds is listed as running; ownRecord (the caller's own) is passed over.
RecoveryReport RecoverInterruptedBuilds(const std::string& jarPath, const std::vector<std::string>& protectedFiles,
                                        const std::string& ownRecord = {});
