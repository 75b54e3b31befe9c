#include "output/save_to_file.h"

#include <gtest/gtest.h>

#include <functional>
#include <new>

#include "platform/error.h"
#include "sim_program.h"

namespace orv {
namespace {

using namespace orv::testing;

// Records which encoder was asked for; can be told to fail.
class FakeImage : public SavableImage {
public:
    enum Failure { kNone, kError, kMemory };
    std::vector<uint8_t> GifBytes(bool) override { return Bytes("gif"); }
    std::vector<uint8_t> PngBytes() override { return Bytes("png"); }
    std::vector<uint8_t> BmpBytes() override { return Bytes("bmp"); }
    std::vector<uint8_t> JpgBytes(int quality, bool, bool) override {
        jpgQuality = quality;
        return Bytes("jpg");
    }
    std::vector<uint8_t> Bytes(const std::string& kind) {
        if (fail == kError) throw Error(31037, "Encoder failed");
        if (fail == kMemory) throw std::bad_alloc();
        saved.push_back(kind);
        return {kind.begin(), kind.end()};
    }
    Failure fail = kNone;
    int jpgQuality = 0;
    std::vector<std::string> saved;
};

class SaveToFileTest : public ::testing::Test, public SimProgram {
protected:
    void SetUp() override {
        st.CaptureTime = "14:07:09";
        desk.clock.SetDate({2026, 3, 5, 14, 7, 9});
    }
    void Save(const std::string& name, int16_t format, const std::string& folder = "C:\\") {
        st.CaptureSettings.SaveFileName = name;
        st.CaptureSettings.SaveFormat = format;
        st.CaptureSettings.SaveFolder = folder;
        SaveToFile(ctx, image);
    }
    // Each file as "content path".
    std::vector<std::string> Files() const {
        std::vector<std::string> out;
        for (const auto& f : desk.files.List()) out.push_back(*desk.files.ReadText(f) + " " + f);
        return out;
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
    EXPECT_EQ(Files(), std::vector<std::string>{c.expected}) << LastBox();
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
    EXPECT_EQ(image.saved, (std::vector<std::string>{"png", "png"}));
    EXPECT_EQ(Files(), std::vector<std::string>{"png C:\\same.png"});
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
    EXPECT_EQ(Files(), std::vector<std::string>{"bmp C:\\c100000000.bmp"});
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
    EXPECT_EQ(Files(), std::vector<std::string>{"bmp C:\\picked"});
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

TEST_F(SaveToFileTest, ThePictureReplacesAnEarlierFileAndNothingElseIsLeft) {
    desk.files.WriteFile("C:\\x.png", std::string("old picture"));
    Save("x", 1);
    EXPECT_EQ(desk.files.ReadText("C:\\x.png"), "png");
    EXPECT_EQ(desk.files.List(), std::vector<std::string>{"C:\\x.png"});
    EXPECT_TRUE(desk.messageBoxes.empty());
}

using Step = sim::SimFiles::Step;

struct FailureCase {
    const char* name;
    std::function<void(sim::SimFiles&, FakeImage&)> arrange;
    const char* box;
};

class SaveFailures : public SaveToFileTest, public ::testing::WithParamInterface<FailureCase> {};

// Whatever step fails, a file of the same name stays byte for byte as it was,
// nothing else is left in the folder, the counter has moved on and the user
// is told which step failed.
TEST_P(SaveFailures, LeaveTheEarlierFileWhole) {
    desk.files.WriteFile("C:\\x.png", std::string("old picture"));
    GetParam().arrange(desk.files, image);
    Save("x", 1);
    EXPECT_EQ(desk.files.ReadText("C:\\x.png"), "old picture");
    EXPECT_EQ(desk.files.List(), std::vector<std::string>{"C:\\x.png"});
    EXPECT_EQ(LastBox(), GetParam().box);
    EXPECT_EQ(st.Settings.Counter, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, SaveFailures,
    ::testing::Values(
        FailureCase{"Verify", [](sim::SimFiles& f, FakeImage&) { f.FailNext(Step::Create); },
                    "Could not create the file \"C:\\x.png\"\r\nEnsure the path is valid, and that you "
                    "have write access to the folder. - There is not enough space on the disk."},
        FailureCase{"LockedFolder", [](sim::SimFiles& f, FakeImage&) { f.LockFolder("C:\\"); },
                    "Could not create the file \"C:\\x.png\"\r\nEnsure the path is valid, and that you "
                    "have write access to the folder. - Access is denied."},
        FailureCase{"Encode", [](sim::SimFiles&, FakeImage& i) { i.fail = FakeImage::kError; },
                    "Failed to create the file \"C:\\x.png\"\r\nEnsure the path is valid, and that you "
                    "have write access to the folder. - Encoder failed"},
        FailureCase{"EncodeOutOfMemory", [](sim::SimFiles&, FakeImage& i) { i.fail = FakeImage::kMemory; },
                    "Failed to create the file \"C:\\x.png\"\r\nEnsure the path is valid, and that you "
                    "have write access to the folder. - Out of memory"},
        FailureCase{"Write", [](sim::SimFiles& f, FakeImage&) { f.FailNext(Step::Write); },
                    "Failed to create the file \"C:\\x.png\"\r\nEnsure the path is valid, and that you "
                    "have write access to the folder. - There is not enough space on the disk."},
        FailureCase{"Replace", [](sim::SimFiles& f, FakeImage&) { f.FailNext(Step::Replace); },
                    "Failed to create the file \"C:\\x.png\"\r\nEnsure the path is valid, and that you "
                    "have write access to the folder. - There is not enough space on the disk."},
        FailureCase{"ReadOnlyTarget", [](sim::SimFiles& f, FakeImage&) { f.SetReadOnly("C:\\x.png"); },
                    "Failed to create the file \"C:\\x.png\"\r\nEnsure the path is valid, and that you "
                    "have write access to the folder. - Access is denied."},
        FailureCase{"TargetHeldOpen", [](sim::SimFiles& f, FakeImage&) { f.HoldOpen("C:\\x.png"); },
                    "Failed to create the file \"C:\\x.png\"\r\nEnsure the path is valid, and that you "
                    "have write access to the folder. - Access is denied."}),
    [](const auto& p) { return std::string(p.param.name); });

struct BusyCase {
    const char* name;
    std::function<void(sim::SimFiles&)> arrange;
};

class BusyFiles : public SaveToFileTest, public ::testing::WithParamInterface<BusyCase> {};

// Another program that lets go within the retry costs a short wait, no box.
TEST_P(BusyFiles, AreWaitedForBriefly) {
    desk.files.WriteFile("C:\\x.png", std::string("old picture"));
    GetParam().arrange(desk.files);
    const double start = desk.clock.MonotonicSeconds();
    Save("x", 1);
    EXPECT_TRUE(desk.messageBoxes.empty()) << LastBox();
    EXPECT_EQ(desk.files.ReadText("C:\\x.png"), "png");
    EXPECT_EQ(desk.files.List(), std::vector<std::string>{"C:\\x.png"});
    EXPECT_GE(desk.clock.MonotonicSeconds() - start, 0.5);
    EXPECT_LT(desk.clock.MonotonicSeconds() - start, 1.0);
}

INSTANTIATE_TEST_SUITE_P(
    Holders, BusyFiles,
    ::testing::Values(BusyCase{"Scanner", [](sim::SimFiles& f) { f.ScanNewFiles(0.5); }},
                      BusyCase{"Target", [](sim::SimFiles& f) { f.HoldOpen("C:\\x.png", 0.5); }}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(SaveToFileTest, AFileHeldBeyondTheRetryFailsWithinABoundedTime) {
    desk.files.HoldOpen("C:\\x.png");
    desk.files.WriteFile("C:\\x.png", std::string("old"));
    const double start = desk.clock.MonotonicSeconds();
    Save("x", 1);
    EXPECT_NE(LastBox().find("Failed to create the file"), std::string::npos);
    EXPECT_LT(desk.clock.MonotonicSeconds() - start, 3.0);
}

struct UnsafeCase {
    const char* name;
    const char* folder;
    const char* fileName;  // template, or the dialog's answer when folder is empty
    const char* path;
};

class UnsafeNames : public SaveToFileTest, public ::testing::WithParamInterface<UnsafeCase> {};

// Names Windows reads as a stream, a device or another name are refused
// before anything is written; the sim would otherwise take them silently.
TEST_P(UnsafeNames, AreRefusedAndWriteNothing) {
    const UnsafeCase c = GetParam();
    desk.files.AddFolder("C:\\shots\\");
    if (*c.folder) {
        Save(c.fileName, 1, c.folder);
    } else {
        desk.dialogs.saveAnswers.push_back(platform::SaveDialogResult{c.fileName, 2});
        Save(kPromptForFileName, 1);
    }
    EXPECT_EQ(LastBox(), std::string("Could not create the file \"") + c.path +
                             "\"\r\nEnsure the path is valid, and that you have write access to "
                             "the folder. - Bad file name or number");
    EXPECT_TRUE(desk.files.List().empty());
    EXPECT_TRUE(desk.files.streams().empty());
    EXPECT_EQ(desk.files.deviceBytes(), 0u);
    EXPECT_EQ(st.Settings.Counter, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Classes, UnsafeNames,
    ::testing::Values(
        UnsafeCase{"Stream", "C:\\", "shot:[counter]", "C:\\shot:0.png"},
        UnsafeCase{"StreamInFolder", "C:\\shots:x\\", "a", "C:\\shots:x\\a.png"},
        UnsafeCase{"Nul", "C:\\", "nul", "C:\\nul.png"},
        UnsafeCase{"DeviceWithBlankAndExtensions", "C:\\shots\\", "CoN .tar", "C:\\shots\\CoN .tar.png"},
        UnsafeCase{"Port", "C:\\", "com7", "C:\\com7.png"},
        UnsafeCase{"PortSuperscriptAnsi", "C:\\", "lpt\xB9", "C:\\lpt\xB9.png"},
        UnsafeCase{"PortSuperscriptUtf8", "C:\\", "COM\xC2\xB3", "C:\\COM\xC2\xB3.png"},
        UnsafeCase{"Control", "C:\\", "a\x01z", "C:\\a\x01z.png"},
        UnsafeCase{"TrailingDotFolder", "C:\\shots.\\", "a", "C:\\shots.\\a.png"},
        UnsafeCase{"TrailingBlankFromDialog", "", "C:\\shots\\a ", "C:\\shots\\a "},
        UnsafeCase{"TrailingDotFromDialog", "", "C:\\shots\\a.", "C:\\shots\\a."},
        UnsafeCase{"DeviceFromDialog", "", "C:\\shots\\aux.bmp", "C:\\shots\\aux.bmp"},
        UnsafeCase{"DevicePath", "", "\\\\.\\C:\\a.bmp", "\\\\.\\C:\\a.bmp"}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(SaveToFileTest, PlainNamesThatLookOddAreStillSaved) {
    desk.files.AddFolder("\\\\server\\share\\");
    for (const char* name : {"console", "nul_", "com10", "lpt", ". leading", "a.b.c"}) {
        Save(name, 1);
        EXPECT_TRUE(desk.files.Read(std::string("C:\\") + name + ".png")) << name << LastBox();
    }
    Save("a", 1, "\\\\server\\share\\");
    EXPECT_TRUE(desk.files.Read("\\\\server\\share\\a.png")) << LastBox();
}

struct CodeValueCase {
    const char* name;
    const char* userName;
    const char* company;
    const char* expected;
};

class CodeValues : public SaveToFileTest, public ::testing::WithParamInterface<CodeValueCase> {};

// What a code puts into the name never picks the folder nor breaks the name.
TEST_P(CodeValues, StayInsideTheName) {
    const CodeValueCase c = GetParam();
    desk.userName = c.userName;
    desk.userCompany = c.company;
    desk.files.AddFolder("C:\\shots\\");
    Save("[name]-[company][tab]", 1, "C:\\shots\\");
    EXPECT_TRUE(desk.messageBoxes.empty()) << LastBox();
    EXPECT_EQ(desk.files.List(), std::vector<std::string>{c.expected});
}

INSTANTIATE_TEST_SUITE_P(
    Values, CodeValues,
    ::testing::Values(
        CodeValueCase{"ParentFolder", "..\\..\\Windows\\x", "co", "C:\\shots\\.._.._Windows_x-co_.png"},
        CodeValueCase{"Drive", "D:\\x", "a/b", "C:\\shots\\D__x-a_b_.png"},
        CodeValueCase{"Forbidden", "<a>|\"b\"", "?*", "C:\\shots\\_a___b_-___.png"},
        CodeValueCase{"Device", "nul", "con", "C:\\shots\\nul-con_.png"}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(SaveToFileTest, UnknownFormatWritesNothingAndSaysSo) {
    Save("x", 7);
    EXPECT_TRUE(desk.files.List().empty());
    EXPECT_NE(LastBox().find("Could not create the file \"\""), std::string::npos);
}

}  // namespace
}  // namespace orv
