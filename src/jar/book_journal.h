// The record a build keeps beside the book of every file it creates and moves, so that a
// build killed at any moment leaves nothing that a later build cannot put right, and a
// later build touches only the files such a record names.
//
// The record is a file of the temporary-file pattern (book_temp_file.h) that starts with
// kJournalMagic. It names, before each happens: every temporary file the build creates;
// at the commit, the plan (each old file set aside under which name, each new file put in
// place of which target); and once every new file is in place, that the commit is done.
// A build that ends, by success or failure, removes it. One left by a process that no
// longer runs tells the next build beside it what to do (RecoverInterruptedBuilds): the
// commit was done, so the set-aside old files go; or it was not, so the new files placed
// go and the old ones get their names back. Temporary files are removed only when such a
// record names them: a file that merely looks like one is never touched.
//
// Every file a record names lies in its folder, so it holds file names only.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class CFile;

inline constexpr char kJournalMagic[] = "BookMaker build record 1\n";

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

// What was done, in the words both front ends show before the file's path:
// "已删除中断的生成留下的临时文件：".
std::string RecoveredFileText(RecoveredFile::Action action);

class CBookJournal {
public:
    // The record of a build writing files beside bookPath; nothing is created until the
    // first temporary file is asked for.
    explicit CBookJournal(const std::string& bookPath);
    // Closes the record and leaves it: a build that did not end stays recoverable.
    ~CBookJournal();
    CBookJournal(const CBookJournal&) = delete;
    CBookJournal& operator=(const CBookJournal&) = delete;

    // A temporary file beside targetPath that is not there yet, recorded before it is
    // created (the caller creates it).
    std::string NewTempFile(const std::string& targetPath);

    // Puts every new file in the place of its target and takes the retired files away, all
    // together or not at all, even across a kill: the plan is recorded, the files at the
    // targets and the retired files are renamed to temporary names of their own, each new
    // file is renamed to its target, the commit is recorded as done, the old files are
    // removed and then the record. A failure removes the new files already placed, gives
    // the old ones back their names and throws CFileException naming the file that could
    // not be renamed; the new files not placed stay at their temporary paths (Discard).
    // An old file that cannot be removed at the end stays, named in the record, which
    // stays too, for a later build.
    void Commit(const std::vector<PendingBookFile>& files, const std::vector<std::string>& retired);

    // A build that failed: removes the temporary files recorded and the record.
    void Discard() noexcept;

    // Tests: called before each change of the commit to the file system (the record's
    // lines included), with the number of changes made so far, so that a test can stop
    // the process there.
    static void SetStepHook(std::function<void(std::size_t step)> hook);

private:
    void Record(const std::string& line);
    void Step();

    std::string m_strBookPath;  // as given: the record lies beside it and failures name it
    std::string m_strPath;      // the record; empty until created
    std::unique_ptr<CFile> m_file;
    std::vector<std::string> m_arrTemps;
    std::size_t m_nSteps = 0;
};

// Puts right what killed builds left in folder: each record of a process that no longer
// runs (isRunning false; without it, neither this process nor one that runs) is carried
// out as its class comment says and removed. Files the
// record names that are not regular files, or are protected (the files a build reads:
// its template and sources), are left alone. Failures leave the record for a later build.
std::vector<RecoveredFile> RecoverInterruptedBuilds(const std::string& folder,
                                                    const std::vector<std::string>& protectedFiles,
                                                    const std::function<bool(std::uint32_t)>& isRunning);
std::vector<RecoveredFile> RecoverInterruptedBuilds(const std::string& folder,
                                                    const std::vector<std::string>& protectedFiles);
