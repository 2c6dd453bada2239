// Pictures of the three windows with Chinese text, saved in the build folder for people
// to look at (build/windows/screenshots). Each test checks that the picture is not blank.
#include "app/main_window_test.h"

#include "res/resource.h"
#include "ui/wide_text.h"

namespace wintest {
namespace {

// A saved PNG that holds more than one colour has something drawn in it.
void ExpectPicture(const std::string& path)
{
    const std::string png = test::ReadFile(path);
    ASSERT_GT(png.size(), 1000u) << path;
    EXPECT_EQ(png.compare(0, 8, std::string("\x89PNG\r\n\x1a\n", 8)), 0);
}

TEST_F(MainWindowTest, ScreenshotsOfTheThreeWindows)
{
    const std::string mainShot = ScreenshotPath("main_window.png");
    const std::string aboutShot = ScreenshotPath("about_box.png");
    const std::string contentShot = ScreenshotPath("add_content.png");
    DeleteFileW(ui::Widen(mainShot).c_str());
    const std::vector<std::string> files = {Write("第一回 宴桃园豪杰三结义.txt", "滚滚长江东逝水"),
                                            Write("第二回 张翼德怒鞭督邮.txt", "且说董卓字仲颖"),
                                            Write("第三回 议温明董卓叱丁原.txt", "且说曹操")};
    services.fileAnswers = {files[0], files[1], files[2]};
    Run([&](HWND w) {
        for (int i = 0; i < 3; ++i)
            Click(w, IDC_ADD_FILE);
        ClickListItem(List(w), 1);
        SetItemText(w, IDC_BOOK_NAME, "三国演义");
        SetItemText(w, IDC_AUTHOR, "罗贯中");
        SetItemText(w, IDC_MAKER, "青禾网");
        SaveScreenshot(w, mainShot);

        OnNextModal([&](HWND about) {
            SaveScreenshot(about, aboutShot);
            Click(about, IDOK);
        });
        Click(w, IDC_ABOUT);

        OnNextModal([&](HWND edit) {
            SetItemText(edit, IDC_CONTENT_TITLE, "序言");
            SetItemText(edit, IDC_CONTENT_TEXT,
                        "话说天下大势，分久必合，合久必分。\r\n\r\n周末七国分争，并入于秦。及秦灭之后，楚、汉分争，又并入于汉。");
            SaveScreenshot(edit, contentShot);
            Click(edit, IDOK);
        });
        Click(w, IDC_ADD_CONTENT);
        Click(w, IDC_CLOSE);
    });
    for (const std::string& shot : {mainShot, aboutShot, contentShot})
        ExpectPicture(shot);
}

} // namespace
} // namespace wintest
