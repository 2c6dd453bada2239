// The build's record: a commit all or nothing, even when the process dies at any step of
// it, and a later build that removes only the files a dead build's record names.
#include "jar/book_files.h"
#include "jar/book_journal.h"
#include "jar/book_temp_file.h"
#include "platform/file_exception.h"
#include "platform/path.h"
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

// Recovery as a later build of the book at jar runs it.
std::vector<RecoveredFile> Recover(const std::string& jar, const std::vector<std::string>& protectedFiles = {})
{
    return RecoverInterruptedBuilds(jar, protectedFiles).done;
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
            Recover(jar);  // the journal is closed: its lock went with it, as with a kill
            const auto left = FolderContents(folder);
            EXPECT_TRUE(left == oldSet || left == newSet) << left.size() << " files left";
            if (!killed)
                break;
        }
    }
}

// A record whose build holds its lock is a running build's, whatever its process: nothing
// of it is touched, and it is named as running. Once closed (as a killed process leaves
// it), what it names goes; a file that merely looks like a temporary file, or that the
// next build reads, stays.
TEST(BookJournal, RecoveryActsOnlyOnRecordsWhoseLockItCanTake)
{
    test::TempDir dir;
    const std::string folder = dir.Path("");
    const std::string jar = JoinPath(folder, "书.jar");
    const std::string users[] = {TempFileName("书.jar", 0x7FFFFFF0u, 1), TempFileName("a.txt", 0x7FFFFFF0u, 2), "书.jar"};
    for (const std::string& name : users)
        test::WriteFile(JoinPath(folder, name), "the user's");
    std::string written, record;
    {
        CBookJournal journal(jar);
        written = journal.NewTempFile(jar);
        record = journal.RecordPath();
        test::WriteFile(written, "half a book");
        const RecoveryReport report = RecoverInterruptedBuilds(jar, {});
        EXPECT_TRUE(report.done.empty() && report.refused.empty());
        EXPECT_EQ(report.running, std::vector<std::string> {record});
        EXPECT_EQ(FolderContents(folder).size(), 5u);
    }
    // Protected: the next build reads it. The record stays and says so.
    const RecoveryReport kept = RecoverInterruptedBuilds(jar, {written});
    EXPECT_TRUE(kept.done.empty());
    ASSERT_EQ(kept.refused.size(), 1u);
    EXPECT_EQ(kept.refused[0].path, record);
    ASSERT_EQ(Recover(jar).size(), 1u);
    std::set<std::string> names;
    for (const auto& [name, text] : FolderContents(folder)) {
        names.insert(name);
        EXPECT_EQ(text, "the user's") << name;
    }
    EXPECT_EQ(names, std::set<std::string>(std::begin(users), std::end(users)));
}

// The fields of a record: a kind letter and its names, each ended by NUL.
std::string Fields(std::initializer_list<std::string> fields)
{
    std::string text;
    for (const std::string& field : fields)
        text += field + '\0';
    return text;
}

// Records planted beside the book, by another program, a damaged disk or anyone who can
// write the folder: none is obeyed, none is removed, each is named with why, and every
// file that was there before is there after with its content. The last rows are records a
// build of this book could have written, to show that the same files do go then.
TEST(BookJournal, ARecordThatIsNotThisBooksIsNeverObeyed)
{
    const std::uint32_t id = 0x7ffffff0u;
    const std::string temp1 = TempFileName("书.jar", id, 1), temp2 = TempFileName("书.jar", id, 2);
    const std::string other = TempFileName("书.jar", 0x7ffffff1u, 1);  // another record's id
    const std::string v2 = kJournalMagic + Fields({"B", "书.jar"});
    const std::string big = v2 + [] {
        std::string lines;
        while (lines.size() < (5u << 20))
            lines += Fields({"T", TempFileName("书.jar", 0x7ffffff0u, 3)});
        return lines;
    }();
    const struct {
        const char* what;
        std::string record;
        std::vector<std::string> gone;  // empty: nothing may change
    } table[] = {
        {"a user's text as a temporary file", v2 + Fields({"T", "notes.txt"}), {}},
        {"the same in capitals", v2 + Fields({"T", "NOTES.TXT"}), {}},
        {"with a trailing dot", v2 + Fields({"T", "notes.txt."}), {}},
        {"on a drive", v2 + Fields({"T", "C:victim.txt"}), {}},
        {"in another folder", v2 + Fields({"T", "../victim.txt"}), {}},
        {"a device", v2 + Fields({"T", "con.txt"}), {}},
        {"the book itself as a temporary file", v2 + Fields({"T", "书.jar"}), {}},
        {"another record's temporary file", v2 + Fields({"T", other}), {}},
        {"another program's jar as the new book", v2 + Fields({"N", "gone.tmp", "mine.jar", "3"}), {}},
        {"a user's jar placed as this book's", v2 + Fields({"N", temp1, "mine.jar", "10"}), {}},
        {"a user's file as a finished commit's old one", v2 + Fields({"A", "x", "keep.txt", "D"}), {}},
        {"the template renamed away", v2 + Fields({"A", "renamed.dat", "RDbook.dat"}), {}},
        {"a draft renamed", v2 + Fields({"A", "draft2.txt", "draft.txt"}), {}},
        {"a record of the earlier version naming a user's file",
         "BookMaker build record 1\n" + Fields({"T", "notes.txt"}), {}},
        {"another book's", kJournalMagic + Fields({"B", "other.jar", "N", temp1, "other.jar", "10"}), {}},
        {"an unknown kind", v2 + Fields({"R", "notes.txt"}), {}},
        {"no book named first", kJournalMagic + Fields({"T", temp1}), {}},
        {"a size that is no number", v2 + Fields({"N", temp1, "书.jar", "ten"}), {}},
        {"larger than a build writes", big, {}},
        // The new book at 书.jar has not the size recorded: it is not the new one.
        {"a new file of another size", v2 + Fields({"N", temp1, "书.jar", "999"}), {}},
        // Trusted: this book's temporary file goes; its old file set aside comes back.
        {"this book's temporary file", v2 + Fields({"T", temp2}), {temp2}},
        {"this book's old file set aside", v2 + Fields({"A", "书(3).jar", temp2}), {temp2}},
    };
    for (const auto& c : table) {
        SCOPED_TRACE(c.what);
        test::TempDir dir;
        const std::string folder = dir.Path("");
        const std::string jar = JoinPath(folder, "书.jar");
        const std::string recordName = TempFileName("书.jar", id, 0);
        std::map<std::string, std::string> before;
        for (const char* name : {"notes.txt", "mine.jar", "keep.txt", "RDbook.dat", "draft.txt", "x", "gone.tmp",
                                 "书.jar", "other.jar"})
            before[name] = std::string("the user's ") + name;
        before[temp2] = "a temporary file";
        before[other] = "another build's";
        before[recordName] = c.record;
        for (const auto& [name, text] : before)
            test::WriteFile(JoinPath(folder, name), text);
        const RecoveryReport report =
            RecoverInterruptedBuilds(jar, {JoinPath(folder, "RDbook.dat"), JoinPath(folder, "draft.txt")});
        std::map<std::string, std::string> expected = before;
        if (c.gone.empty()) {
            EXPECT_TRUE(report.done.empty());
            ASSERT_EQ(report.refused.size(), 1u);
            EXPECT_EQ(FileNameOfPath(report.refused[0].path), recordName);
            EXPECT_FALSE(report.refused[0].reason.empty());
        } else {
            EXPECT_TRUE(report.refused.empty()) << report.refused[0].reason;
            for (const std::string& name : c.gone)
                expected.erase(name);
            expected.erase(recordName);
            if (c.record.find("书(3).jar") != std::string::npos)
                expected["书(3).jar"] = "a temporary file";
        }
        EXPECT_EQ(FolderContents(folder), expected);
    }
}

// A commit that fails and cannot be wholly undone (the old JAD's name is taken by a folder
// when it should come back) keeps its record: the next build, once the obstacle is gone,
// gives the old file its name back.
TEST(BookJournal, AFailedRollbackKeepsTheRecord)
{
    test::TempDir dir;
    const std::string folder = dir.Path("");
    const std::string jar = JoinPath(folder, "书.jar"), jad = JoinPath(folder, "书.jad");
    test::WriteFile(jar, "old book");
    test::WriteFile(jad, "old jad");
    std::string record;
    {
        CBookJournal journal(jar);
        std::vector<PendingBookFile> files;
        for (const std::string& target : {jar, jad}) {
            files.push_back({journal.NewTempFile(target), target});
            test::WriteFile(files.back().tempPath, "new");
        }
        record = journal.RecordPath();
        // Step 0 records the plan, 1 and 2 set the old files aside; before the first new
        // file is placed, the disk fails and a folder takes the JAD's name.
        CBookJournal::SetStepHook([&](std::size_t step) {
            if (step != 3)
                return;
            fs::create_directory(U8Path(jad));
            test::WriteFile(JoinPath(jad, "x"), "");
            throw CFileException(CFileException::hardIO, 5, jar);
        });
        EXPECT_THROW(journal.Commit(files, {}), CFileException);
        CBookJournal::SetStepHook(nullptr);
        journal.Discard();
        EXPECT_TRUE(fs::exists(U8Path(record)));
    }
    EXPECT_EQ(test::ReadFile(jar), "old book");
    fs::remove_all(U8Path(jad));
    const RecoveryReport report = RecoverInterruptedBuilds(jar, {});
    EXPECT_TRUE(report.refused.empty());
    EXPECT_EQ(FolderContents(folder), (std::map<std::string, std::string> {{"书.jar", "old book"}, {"书.jad", "old jad"}}));
}

} // namespace
