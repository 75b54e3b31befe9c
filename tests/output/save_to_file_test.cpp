#include "output/save_to_file.h"

#include <gtest/gtest.h>

#include "platform/error.h"
#include "sim_program.h"

namespace orv {
namespace {

using namespace orv::testing;

// Records which writer was asked for which path; can be told to fail.
class FakeImage : public SavableImage {
public:
    void SaveGif(const std::string& p, bool) override { Write("gif", p); }
    void SavePng(const std::string& p) override { Write("png", p); }
    void SaveBmp(const std::string& p) override { Write("bmp", p); }
    void SaveJpg(const std::string& p, int quality, bool, bool) override {
        jpgQuality = quality;
        Write("jpg", p);
    }
    void Write(const char* kind, const std::string& p) {
        if (fail) throw Error(61, "Disk full");
        files->WriteFile(p, std::string(kind));
        saved.push_back(std::string(kind) + " " + p);
    }
    platform::Files* files = nullptr;
    bool fail = false;
    int jpgQuality = 0;
    std::vector<std::string> saved;
};

class SaveToFileTest : public ::testing::Test, public SimProgram {
protected:
    void SetUp() override {
        image.files = &desk.files;
        st.CaptureTime = "14:07:09";
        desk.clock.SetDate({2026, 3, 5, 14, 7, 9});
    }
    void Save(const std::string& name, int16_t format, const std::string& folder = "C:\\") {
        st.CaptureSettings.SaveFileName = name;
        st.CaptureSettings.SaveFormat = format;
        st.CaptureSettings.SaveFolder = folder;
        SaveToFile(ctx, image);
    }
    std::string LastBox() const { return desk.messageBoxes.empty() ? "" : desk.messageBoxes.back().text; }
    FakeImage image;
};

struct TemplateCase {
    const char* name;
    int16_t format;
    const char* folder;
    const char* expected;
};

class SaveTemplates : public SaveToFileTest, public ::testing::WithParamInterface<TemplateCase> {};

TEST_P(SaveTemplates, BuildThePathFromFolderNameAndExtension) {
    auto c = GetParam();
    desk.files.AddFolder("C:\\Temp\\");
    Save(c.name, c.format, c.folder);
    ASSERT_EQ(image.saved.size(), 1u) << LastBox();
    EXPECT_EQ(image.saved[0], c.expected);
    EXPECT_TRUE(desk.messageBoxes.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Names, SaveTemplates,
    ::testing::Values(
        TemplateCase{"ORVX-[rdate]-[time]", 1, "C:\\", "png C:\\ORVX-20260305-140709.png"},
        TemplateCase{"shot.png", 1, "C:\\", "png C:\\shot.png.png"},
        TemplateCase{"name", 0, "C:\\Temp", "gif C:\\Tempname.gif"},
        TemplateCase{"n[counter]", 2, "C:\\Temp\\", "bmp C:\\Temp\\n0.bmp"},
        TemplateCase{"q", 3, "C:\\", "jpg C:\\q.jpg"}));

TEST_F(SaveToFileTest, TemplateWithoutCodesOverwritesWithoutAsking) {
    Save("same", 1);
    Save("same", 1);
    EXPECT_EQ(image.saved, (std::vector<std::string>{"png C:\\same.png", "png C:\\same.png"}));
    EXPECT_TRUE(desk.dialogs.saveRequests.empty());
    EXPECT_EQ(st.CaptureSettings.SaveFileName, "same");
    EXPECT_EQ(st.Settings.Counter, 2);
}

TEST_F(SaveToFileTest, TheExpandedNameReplacesTheTemplateForTheFooter) {
    Save("a[counter]", 1);
    EXPECT_EQ(st.CaptureSettings.SaveFileName, "a0");
}

TEST_F(SaveToFileTest, CounterWrapsAfterTheLargestValue) {
    st.Settings.Counter = 100000000;
    st.CaptureSettings.Counter = 100000000;
    Save("c[counter]", 2);
    EXPECT_EQ(image.saved[0], "bmp C:\\c100000000.bmp");
    EXPECT_EQ(st.Settings.Counter, 0);
}

TEST_F(SaveToFileTest, PresetInAnyCaseAsksForTheFileAndTakesTheFilterEntry) {
    desk.dialogs.saveAnswers.push_back(platform::SaveDialogResult{"C:\\picked", 3});
    st.CaptureSettings.JpgQuality = 77;
    Save("[PROMPT user for FILENAME]", 1);
    ASSERT_EQ(desk.dialogs.saveRequests.size(), 1u);
    const auto& r = desk.dialogs.saveRequests[0];
    EXPECT_EQ(r.title, "Orvanex - v3.5 Save to File");
    EXPECT_EQ(r.flags, 0x280802u);
    EXPECT_EQ(r.filterIndex, 2);
    EXPECT_EQ(r.filter,
              "GIF Files (*.gif)|*.gif|PNG Files (*.png)|*.png|BMP Files (*.bmp)|*.bmp|JPG Files "
              "(*.jpg)|*.jpg");
    EXPECT_EQ(image.saved, std::vector<std::string>{"bmp C:\\picked"});
    EXPECT_EQ(st.CaptureSettings.SaveFormat, 2);
    EXPECT_EQ(st.CaptureSettings.SaveFileName, "picked");
    EXPECT_EQ(st.Settings.Counter, 1);
}

TEST_F(SaveToFileTest, CancelledDialogSavesNothingAndKeepsTheCounter) {
    Save("[Prompt user for filename]", 0);
    EXPECT_TRUE(image.saved.empty());
    EXPECT_EQ(st.Settings.Counter, 0);
    EXPECT_EQ(LastBox(), "File will not be saved - Cancel was selected.");
    EXPECT_EQ(desk.messageBoxes.back().style, platform::mb::kCritical);
}

TEST_F(SaveToFileTest, UnwritableFolderFailsTheCheckAndLeavesNoFile) {
    desk.files.LockFolder("C:\\Locked\\");
    Save("x", 1, "C:\\Locked\\");
    EXPECT_EQ(LastBox(),
              "Could not create the file \"C:\\Locked\\x.png\"\r\nEnsure the path is valid, and "
              "that you have write access to the folder. - Path/File access error");
    EXPECT_EQ(st.Settings.Counter, 1);
    EXPECT_TRUE(desk.files.List().empty());
}

TEST_F(SaveToFileTest, MissingFolderFailsTheCheck) {
    Save("x", 1, "Q:\\nowhere\\");
    EXPECT_NE(LastBox().find("Could not create the file \"Q:\\nowhere\\x.png\""), std::string::npos);
}

TEST_F(SaveToFileTest, FailedImageWriteRemovesTheCheckFile) {
    image.fail = true;
    Save("x", 2);
    EXPECT_EQ(LastBox(),
              "Failed to create the file \"C:\\x.bmp\"\r\nEnsure the path is valid, and that you "
              "have write access to the folder. - Disk full");
    EXPECT_EQ(desk.files.Read("C:\\x.bmp"), std::nullopt);
}

TEST_F(SaveToFileTest, CheckFileIsReplacedByTheImage) {
    Save("x", 1);
    EXPECT_EQ(desk.files.ReadText("C:\\x.png"), "png");
}

TEST_F(SaveToFileTest, UnknownFormatWritesNothingAndSaysSo) {
    Save("x", 7);
    EXPECT_TRUE(image.saved.empty());
    EXPECT_NE(LastBox().find("Could not create the file \"\""), std::string::npos);
}

}  // namespace
}  // namespace orv
