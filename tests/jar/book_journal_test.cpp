// The build's record: a commit all or nothing, even when the process dies at any step of
// it, and a later build that removes only the files a dead build's record names.
#include "jar/book_files.h"
#include "jar/book_journal.h"
#include "jar/book_temp_file.h"
#include "platform/file_exception.h"
#include "platform/path.h"
#include "platform/process.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>

namespace fs = std::filesystem;

namespace {

std::map<std::string, std::string> FolderContents(const std::string& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(U8Path(folder)))
        files[Utf8Path(entry.path().filename())] = test::ReadFile(Utf8Path(entry.path()));
    return files;
}

// Recovery as a later build runs it, taking every process for gone (this one included,
// which stands for the killed build).
std::vector<RecoveredFile> RecoverAsIfDead(const std::string& folder)
{
    return RecoverInterruptedBuilds(folder, {}, [](std::uint32_t) { return false; });
}

// A book of `count` volumes (jar and JAD) whose files hold `label` and their names.
std::map<std::string, std::string> VolumeSet(const std::string& jar, std::size_t count, const std::string& label)
{
    std::map<std::string, std::string> files;
    for (std::size_t n = 1; n <= count; ++n)
        for (const std::string& path : {VolumePathFor(jar, n), JadPathFor(VolumePathFor(jar, n))})
            files[FileNameOfPath(path)] = label + " " + FileNameOfPath(path);
    return files;
}

struct Killed {};

// The new files take the places of the old ones and the retired files go, all together;
// no temporary file and no record stays.
TEST(BookJournal, CommitPutsAllNewFilesInPlaceAndTheRetiredGo)
{
    test::TempDir dir;
    const std::string folder = dir.Path("books");
    fs::create_directories(U8Path(folder));
    const std::string jar = JoinPath(folder, "书.jar"), jad = JoinPath(folder, "书.jad"),
                      old = JoinPath(folder, "书(3).jar");
    test::WriteFile(jar, "older book");
    test::WriteFile(old, "older volume");
    CBookJournal journal(jar);
    std::vector<PendingBookFile> files;
    for (const std::string& target : {jar, jad}) {
        files.push_back({journal.NewTempFile(target), target});
        test::WriteFile(files.back().tempPath, "new " + FileNameOfPath(target));
    }
    journal.Commit(files, {old});
    EXPECT_EQ(FolderContents(folder), (std::map<std::string, std::string> {{"书.jar", "new 书.jar"}, {"书.jad", "new 书.jad"}}));
}

// A file that cannot be put in place undoes everything: the new files already placed are
// gone, the old ones have their names back, the retired one stays; the failure names the
// target; Discard then takes the temporary files and the record.
TEST(BookJournal, AFailedCommitLeavesTheOldFilesAsTheyWere)
{
    test::TempDir dir;
    const std::string folder = dir.Path("books");
    fs::create_directories(U8Path(folder));
    const std::string targets[] = {JoinPath(folder, "书(1).jar"), JoinPath(folder, "书(1).jad"),
                                   JoinPath(folder, "书(2).jar")};
    const std::string old = JoinPath(folder, "书(3).jar");
    test::WriteFile(targets[0], "older first volume");
    test::WriteFile(targets[2], "older second volume");
    test::WriteFile(old, "older third volume");
    CBookJournal journal(targets[0]);
    std::vector<PendingBookFile> files;
    for (const std::string& target : targets)
        files.push_back({journal.NewTempFile(target), target});
    test::WriteFile(files[0].tempPath, "new");
    test::WriteFile(files[1].tempPath, "new");
    // The last temporary file is missing: its rename fails after two were placed.
    try {
        journal.Commit(files, {old});
        FAIL() << "committed";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.GetPath(), targets[2]);
    }
    journal.Discard();
    EXPECT_EQ(FolderContents(folder), (std::map<std::string, std::string> {{"书(1).jar", "older first volume"},
                                                                          {"书(2).jar", "older second volume"},
                                                                          {"书(3).jar", "older third volume"}}));
}

// The process dies before each change of the commit in turn (the record's lines
// included): the next build finds either the whole old book or the whole new one under
// their names, and nothing else. Three old volumes become two (the third retired), and
// hundreds become hundreds and one.
TEST(BookJournal, AKillAtAnyStepOfTheCommitLeavesTheOldSetOrTheNew)
{
    const struct {
        std::size_t oldCount, newCount, stride;
    } cases[] = {
        {3, 2, 1},
        // Hundreds: every step would take minutes; the steps around each phase's start and
        // end (setting aside, placing, removing) and every stride-th step between.
#ifdef _WIN32
        {200, 201, 151},
#else
        {200, 201, 37},
#endif
    };
    for (const auto& c : cases) {
        // The commit's steps: the plan, each old file set aside, each new one placed, done,
        // each old file removed, the record removed.
        const std::size_t aside = 2 * c.oldCount, placed = aside + 2 * c.newCount, last = placed + 1 + aside + 1;
        auto near = [](std::size_t step, std::size_t at) { return step + 2 >= at && step <= at + 2; };
        for (std::size_t step = 0;; ++step) {
            if (c.stride > 1 && step % c.stride != 0 && !near(step, 0) && !near(step, aside) &&
                !near(step, placed) && !near(step, last))
                continue;
            SCOPED_TRACE(testing::Message() << c.oldCount << " volumes, killed at step " << step);
            test::TempDir dir;
            const std::string folder = dir.Path("");
            const std::string jar = JoinPath(folder, "三国.jar");
            const auto oldSet = VolumeSet(jar, c.oldCount, "old");
            const auto newSet = VolumeSet(jar, c.newCount, "new");
            for (const auto& [name, text] : oldSet)
                test::WriteFile(JoinPath(folder, name), text);
            std::vector<std::string> retired;
            for (std::size_t n = c.newCount + 1; n <= c.oldCount; ++n) {
                retired.push_back(VolumePathFor(jar, n));
                retired.push_back(JadPathFor(VolumePathFor(jar, n)));
            }
            bool killed = false;
            {
                CBookJournal journal(jar);
                std::vector<PendingBookFile> files;
                for (const auto& [name, text] : newSet) {
                    files.push_back({journal.NewTempFile(JoinPath(folder, name)), JoinPath(folder, name)});
                    test::WriteFile(files.back().tempPath, text);
                }
                CBookJournal::SetStepHook([step](std::size_t at) {
                    if (at == step)
                        throw Killed {};
                });
                try {
                    journal.Commit(files, retired);
                } catch (const Killed&) {
                    killed = true;  // the journal goes as a killed process leaves it: closed, not removed
                }
                CBookJournal::SetStepHook(nullptr);
            }
            RecoverAsIfDead(folder);
            const auto left = FolderContents(folder);
            EXPECT_TRUE(left == oldSet || left == newSet) << left.size() << " files left";
            if (!killed)
                break;
        }
    }
}

// Files whose names only look like ours are left alone; what a dead build's record names
// goes, and a record of a build that still runs is not touched.
TEST(BookJournal, RecoveryRemovesOnlyWhatARecordOfADeadBuildNames)
{
    test::TempDir dir;
    const std::string folder = dir.Path("");
    const std::string jar = JoinPath(folder, "书.jar");
    const std::uint32_t gone = 0x7FFFFFF0u;  // above any process id in use
    ASSERT_FALSE(IsProcessRunning(gone));
    // The user's: a file named like a temporary file, one of a dead process's id among them.
    const std::string users[] = {TempFileName("书.jar", gone, 1), TempFileName("a.txt", gone, 2), "书.jar"};
    for (const std::string& name : users)
        test::WriteFile(JoinPath(folder, name), "the user's");
    std::string written;
    {
        CBookJournal journal(jar);  // this process's: still running
        written = journal.NewTempFile(jar);
        test::WriteFile(written, "half a book");
    }
    EXPECT_TRUE(RecoverInterruptedBuilds(folder, {}).empty()) << "a running build's files were touched";
    EXPECT_EQ(FolderContents(folder).size(), 5u);

    // A protected file (a source of the next build) that a record names stays too.
    const std::vector<RecoveredFile> done = RecoverInterruptedBuilds(folder, {written}, [](std::uint32_t) { return false; });
    EXPECT_TRUE(done.empty());
    ASSERT_EQ(RecoverAsIfDead(folder).size(), 1u);
    std::set<std::string> names;
    for (const auto& [name, text] : FolderContents(folder)) {
        names.insert(name);
        EXPECT_EQ(text, "the user's") << name;
    }
    EXPECT_EQ(names, std::set<std::string>(std::begin(users), std::end(users)));
}

} // namespace
