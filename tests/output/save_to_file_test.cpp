#include "output/save_to_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <new>

#include "platform/error.h"
#include "sim_program.h"

namespace orv {
namespace {

using namespace orv::testing;
using Step = sim::SimFiles::Step;
using Files = std::vector<std::string>;

// Records which encoder was asked for; can be told to fail.
class FakeImage : public SavableImage {
  public:
    enum Failure { kNone, kError, kMemory };
    std::vector<uint8_t> GifBytes() override { return Bytes("gif"); }
    std::vector<uint8_t> PngBytes() override { return Bytes("png"); }
    platform::FilePieces BmpPieces() override {
        return [bytes = Bytes("bmp")](std::size_t i, std::vector<uint8_t>& out) {
            out = bytes;
            return i == 0;
        };
    }
    std::vector<uint8_t> JpgBytes(int) override { return Bytes("jpg"); }
    std::vector<uint8_t> Bytes(const std::string& kind) {
        if (fail == kError) throw Error(31037, "Encoder failed");
        if (fail == kMemory) throw std::bad_alloc();
        return {kind.begin(), kind.end()};
    }
    Failure fail = kNone;
};

struct Saver : SimProgram {
    Saver() {
        st.CaptureTime = "14:07:09";
        desk.clock.SetDate({2026, 3, 5, 14, 7, 9});
        desk.files.AddFolder("C:\\shots\\");
    }
    void Save(const std::string& name, int16_t format = 1, const std::string& folder = "C:\\") {
        st.CaptureSettings.SaveFileName = name;
        st.CaptureSettings.SaveFormat = format;
        st.CaptureSettings.SaveFolder = folder;
        orv::SaveToFile(ctx, image);
    }
    // Each file as "content path".
    Files List() const {
        Files out;
        for (const auto& f : desk.files.List()) out.push_back(*desk.files.ReadText(f) + " " + f);
        return out;
    }
    std::string LastBox() const {
        return desk.messageBoxes.empty() ? "" : desk.messageBoxes.back().text;
    }
    FakeImage image;
};

class SaveToFile : public ::testing::Test, public Saver {};

TEST_F(SaveToFile, BuildsThePathFromFolderNameAndExtension) {
    const std::tuple<const char*, int16_t, const char*, const char*> cases[] = {
        {"ORVX-[rdate]-[time]", 1, "C:\\", "png C:\\ORVX-20260305-140709.png"},
        {"shot.png", 1, "C:\\", "png C:\\shot.png.png"},
        {"name", 0, "C:\\shots", "gif C:\\shotsname.gif"},
        {"n[counter]", 2, "C:\\shots\\", "bmp C:\\shots\\n0.bmp"},
        {"q", 3, "C:\\", "jpg C:\\q.jpg"},
        // What a code brings in never picks the folder nor breaks the name.
        {"[name]-[company][tab]", 1, "C:\\shots\\", "png C:\\shots\\.._D__x-_a___b__.png"},
    };
    for (const auto& [name, format, folder, file] : cases) {
        Saver s;
        s.desk.userName = "..\\D:\\x";
        s.desk.userCompany = "<a>|\"b\"";
        s.Save(name, format, folder);
        EXPECT_EQ(s.List(), Files{file}) << s.LastBox();
        // A footer's [filename] then names the file.
        EXPECT_NE(std::string(file).find(s.st.CaptureSettings.SaveFileName + "."),
                  std::string::npos);
    }
}

TEST_F(SaveToFile, ASecondSaveReplacesTheFileAndTheCounterWraps) {
    desk.files.WriteFile("C:\\same.png", std::string("old picture"));
    st.Settings.Counter = 99999999;
    Save("same");
    Save("same");
    EXPECT_EQ(List(), Files{"png C:\\same.png"});
    EXPECT_EQ(st.Settings.Counter, 0);
    EXPECT_TRUE(desk.dialogs.saveRequests.empty());
    EXPECT_TRUE(desk.messageBoxes.empty());
}

TEST_F(SaveToFile, PresetInAnyCaseAsksForTheFileAndTakesTheFilterEntry) {
    desk.dialogs.saveAnswers.push_back(platform::SaveDialogResult{"C:\\picked", 3});
    Save("[PROMPT user for FILENAME]");
    ASSERT_EQ(desk.dialogs.saveRequests.size(), 1u);
    EXPECT_EQ(desk.dialogs.saveRequests[0].filterIndex, 2);
    EXPECT_EQ(List(), Files{"bmp C:\\picked"});
    EXPECT_EQ(st.CaptureSettings.SaveFormat, 2);
    EXPECT_EQ(st.CaptureSettings.SaveFileName, "picked");
    EXPECT_EQ(st.Settings.Counter, 1);

    Save(kPromptForFileName, 0);  // cancelled
    EXPECT_EQ(st.Settings.Counter, 1);
    EXPECT_EQ(LastBox(), "File will not be saved - Cancel was selected.");
}

// Whatever step fails, a file of the same name stays byte for byte as it was,
// nothing else is left in the folder, the counter has moved on and the user
// is told which step failed.
TEST_F(SaveToFile, AFailedStepLeavesTheEarlierFileWhole) {
    const std::tuple<std::function<void(sim::SimFiles&, FakeImage&)>, const char*, const char*>
        cases[] = {
            {[](sim::SimFiles& f, FakeImage&) { f.FailNext(Step::Create); }, "Could not",
             "There is not enough space on the disk."},
            {[](sim::SimFiles& f, FakeImage&) { f.LockFolder("C:\\"); }, "Could not",
             "Access is denied."},
            {[](sim::SimFiles&, FakeImage& i) { i.fail = FakeImage::kError; }, "Failed to",
             "Encoder failed"},
            {[](sim::SimFiles&, FakeImage& i) { i.fail = FakeImage::kMemory; }, "Failed to",
             "Out of memory"},
            {[](sim::SimFiles& f, FakeImage&) { f.FailNext(Step::Write); }, "Failed to",
             "There is not enough space on the disk."},
            {[](sim::SimFiles& f, FakeImage&) { f.FailNext(Step::Replace); }, "Failed to",
             "There is not enough space on the disk."},
            {[](sim::SimFiles& f, FakeImage&) { f.SetReadOnly("C:\\x.png"); }, "Failed to",
             "Access is denied."},
            {[](sim::SimFiles& f, FakeImage&) { f.HoldOpen("C:\\x.png"); }, "Failed to",
             "Access is denied."},
        };
    for (const auto& [arrange, step, why] : cases) {
        Saver s;
        s.desk.files.WriteFile("C:\\x.png", std::string("old picture"));
        arrange(s.desk.files, s.image);
        const double start = s.desk.clock.MonotonicSeconds();
        s.Save("x");
        EXPECT_LT(s.desk.clock.MonotonicSeconds() - start, 3.0);
        EXPECT_EQ(s.List(), Files{"old picture C:\\x.png"});
        EXPECT_EQ(s.LastBox(),
                  std::string(step) +
                      " create the file \"C:\\x.png\"\r\nEnsure the path is valid, and that "
                      "you have write access to the folder. - " +
                      why);
        EXPECT_EQ(s.st.Settings.Counter, 1);
    }
}

// Another program that lets go within the retry costs a short wait, no box.
TEST_F(SaveToFile, BusyFilesAreWaitedForBriefly) {
    for (auto hold : {+[](sim::SimFiles& f) { f.ScanNewFiles(0.5); },
                      +[](sim::SimFiles& f) { f.HoldOpen("C:\\x.png", 0.5); }}) {
        Saver s;
        s.desk.files.WriteFile("C:\\x.png", std::string("old picture"));
        hold(s.desk.files);
        const double start = s.desk.clock.MonotonicSeconds();
        s.Save("x");
        EXPECT_TRUE(s.desk.messageBoxes.empty()) << s.LastBox();
        EXPECT_EQ(s.List(), Files{"png C:\\x.png"});
        EXPECT_GE(s.desk.clock.MonotonicSeconds() - start, 0.5);
        EXPECT_LT(s.desk.clock.MonotonicSeconds() - start, 1.0);
    }
}

// Names Windows reads as a stream, a device or another name are refused
// before anything is written; the sim would otherwise take them silently.
TEST_F(SaveToFile, UnsafeNamesAreRefusedAndWriteNothing) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        // folder, template (or the dialog's answer when there is no folder), path
        {"C:\\", "shot:[counter]", "C:\\shot:0.png"},
        {"C:\\shots:x\\", "a", "C:\\shots:x\\a.png"},
        {"C:\\shots\\", "CoN .tar", "C:\\shots\\CoN .tar.png"},
        {"C:\\", "com7", "C:\\com7.png"},
        {"C:\\", "COM0", "C:\\COM0.png"},
        {"C:\\", "lpt0.x", "C:\\lpt0.x.png"},
        {"C:\\", "lpt\xB9", "C:\\lpt\xB9.png"},
        {"C:\\", "COM\xC2\xB3", "C:\\COM\xC2\xB3.png"},
        {"C:\\", "a\x01z", "C:\\a\x01z.png"},
        {"C:\\shots.\\", "a", "C:\\shots.\\a.png"},
        {"", "C:\\shots\\a ", "C:\\shots\\a "},
        {"", "C:\\shots\\a.", "C:\\shots\\a."},
        {"", "C:\\shots\\aux.bmp", "C:\\shots\\aux.bmp"},
        {"", "\\\\.\\C:\\a.bmp", "\\\\.\\C:\\a.bmp"},
        {"", "//./pipe/x.png", "//./pipe/x.png"},
        {"", "\\/./pipe/x.png", "\\/./pipe/x.png"},
        {"", "//?/C:/x.png", "//?/C:/x.png"},
        {"", "?:\\x.png", "?:\\x.png"},
        {"", "*:\\x.png", "*:\\x.png"},
        {"", "1:\\x.png", "1:\\x.png"},
    };
    for (const auto& [folder, name, path] : cases) {
        if (*folder) {
            Save(name, 1, folder);
        } else {
            desk.dialogs.saveAnswers.push_back(platform::SaveDialogResult{name, 2});
            Save(kPromptForFileName);
        }
        EXPECT_EQ(LastBox(),
                  std::string("Could not create the file \"") + path +
                      "\"\r\nEnsure the path is valid, and that you have write access to "
                      "the folder. - Bad file name or number");
    }
    EXPECT_TRUE(desk.files.List().empty());
    EXPECT_TRUE(desk.files.streams().empty());
    EXPECT_EQ(desk.files.deviceBytes(), 0u);
    EXPECT_EQ(st.Settings.Counter, int(std::size(cases)));

    Save("x", 7);  // a format the save does not know
    EXPECT_TRUE(desk.files.List().empty());
    EXPECT_NE(LastBox().find("Could not create the file \"\""), std::string::npos);
}

TEST_F(SaveToFile, EveryTemporaryNameIsTriedBeforeTheSaveGivesUp) {
    // Left behind by saves that were cut off; a hundred names are there to try.
    for (const auto& [taken, saved] : {std::pair{99, true}, std::pair{100, false}}) {
        Saver s;
        for (int n = 0; n < taken; ++n) {
            char name[32];
            std::snprintf(name, sizeof name, "C:\\shots\\~orv%04d.tmp", n);
            s.desk.files.CreateNewFile(name, {});
        }
        s.Save("a", 1, "C:\\shots\\");
        EXPECT_EQ(s.desk.files.Read("C:\\shots\\a.png").has_value(), saved) << taken;
        EXPECT_EQ(s.desk.files.List().size(), std::size_t(taken + (saved ? 1 : 0))) << taken;
        EXPECT_EQ(s.LastBox().empty(), saved) << taken << s.LastBox();
    }
}

TEST_F(SaveToFile, PlainNamesThatLookOddAreStillSaved) {
    desk.files.AddFolder("\\\\server\\share\\");
    for (const char* name : {"console", "nul_", "com10", "lpt", ". leading", "a.b.c"}) {
        Save(name);
        EXPECT_TRUE(desk.files.Read(std::string("C:\\") + name + ".png")) << name << LastBox();
    }
    Save("a", 1, "\\\\server\\share\\");
    EXPECT_TRUE(desk.files.Read("\\\\server\\share\\a.png")) << LastBox();
}

}  // namespace
}  // namespace orv
