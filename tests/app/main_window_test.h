// A fixture for the main window: a scratch working folder (the current directory while
// the window starts), recorded services, and a window run modally with a script.
#pragma once

#include "app/bookmaker_dlg.h"
#include "support/book_parts.h"
#include "support/test_support.h"
#include "ui/recording_services.h"
#include "ui/window_test_support.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace wintest {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs a fresh main window with script inside its loop; returns DoModal's result.
    INT_PTR Run(const Script& script);

    // Writes a text file (UTF-8 unless bytes say otherwise) into the working folder or a
    // folder below it; returns its full path.
    std::string Write(const std::string& relative, const std::string& bytes);
    std::string Folder(const std::string& relative);
    // A small reader template RDbook.dat in the working folder.
    void WriteTemplate();
    // A path that opens but whose reading fails (a sysfs attribute whose read is refused).
    static std::string UnreadableFile();
    // A file named relative in the working folder that opens like UnreadableFile.
    std::string LinkToUnreadable(const std::string& relative);

    // Drops files, generates book `name` from them, deletes the entries after the first
    // `keep` and generates again: with volumes, the second build removes the older ones.
    static void GenerateThenFewer(HWND w, const std::string& name, const std::vector<std::string>& files,
                                  std::size_t keep);

    static HWND List(HWND window);
    std::vector<std::string> Titles() const { return test::Titles(window->GetSources()); }
    std::vector<std::string> Texts() const { return test::Texts(window->GetSources()); }

    test::TempDir dir;
    std::string workDir;
    RecordingServices services;
    std::unique_ptr<CBookMakerDlg> window;

private:
    std::wstring m_previousDirectory;
};

// count ideographs picked at random from seed (UTF-8): text that hardly packs, about two
// bytes packed for each character.
std::string HardlyPackingText(int count, std::uint32_t seed);

// An entry of a jar: its data inflated.
std::string JarEntry(const std::string& jarPath, const std::string& name);

// The items checked when the submenu at `position` of 工具 opens (分卷大小 2, 压缩 3, 文本编码 4,
// 繁简转换 5), and
// whether every item of it is a radio choice.
std::vector<UINT> CheckedToolsChoices(HWND w, int position, bool& allRadio);

} // namespace wintest
