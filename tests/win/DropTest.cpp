#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <cstring>

#include "Drops.h"
#include "MainWindowProbe.h"
#include "ModalBoxes.h"
#include "RealRegistry.h"
#include "widgets/Form.h"
#include "widgets/ImageList.h"
#include "widgets/ShellDropTarget.h"
#include "win32/WideText.h"

namespace quenmar::testing {
namespace {

using widgets::DroppedName;
using widgets::ShellDropTarget;
using widgets::SkippedNames;

class DropTarget : public widgets::Form {
public:
    DropTarget() : Form(Style()) {}
    ~DropTarget() override {
        if (Handle()) DestroyWindow(Handle());
    }
    static widgets::FormStyle Style() {
        widgets::FormStyle style;
        style.className = L"QuenmarDropTarget";
        style.clientWidth = 200;
        style.clientHeight = 100;
        return style;
    }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_USER + 5) {
            passed.push_back({wParam, lParam});
            return 1234;
        }
        return Form::HandleMessage(message, wParam, lParam);
    }
    std::vector<std::pair<WPARAM, LPARAM>> passed;
};

// A drop receiver on a form of its own, recording every event it reports.
class DropEvents : public ::testing::Test {
protected:
    void SetUp() override {
        receiver.OnDrop = [this](const DroppedName& name) {
            events.push_back("item [" + name.folder + "][" + name.fileName + "][" + name.fullName + "]");
            names.push_back(name.fullName);
        };
        receiver.OnSkipped = [this](const SkippedNames& skipped) {
            events.push_back("skipped " + std::to_string(skipped.tooLong));
        };
    }
    DropTarget form;
    ShellDropTarget receiver{&form};
    std::vector<std::string> events;
    std::vector<std::string> names;  // the whole names, in order
};

using Strings = std::vector<std::string>;

TEST(DropReceiver, OwnerMustHaveAWindow) {
    auto message = [](widgets::Component* owner) {
        try {
            ShellDropTarget receiver(owner);
        } catch (const std::invalid_argument& error) {
            return std::string(error.what());
        }
        return std::string("accepted");
    };
    EXPECT_EQ(message(nullptr), "A drop target needs a window to attach to.");
    widgets::ImageList windowless;
    EXPECT_EQ(message(&windowless), "A drop target needs a window to attach to.");

    DropTarget form;  // its window does not exist yet: the receiver makes it
    ASSERT_EQ(form.Handle(), nullptr);
    ShellDropTarget receiver(&form);
    EXPECT_NE(form.Handle(), nullptr);
    EXPECT_EQ(receiver.OwnerWindow(), form.Handle());
    EXPECT_TRUE(GetWindowLongW(form.Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
}

TEST(DropReceiver, HooksTheWindowAndPutsItsProcedureBack) {
    DropTarget form;
    form.CreateHandle();
    const LONG_PTR before = GetWindowLongPtrW(form.Handle(), GWLP_WNDPROC);
    {
        ShellDropTarget receiver(&form);
        EXPECT_NE(GetWindowLongPtrW(form.Handle(), GWLP_WNDPROC), before);
        const WPARAM wParam = static_cast<WPARAM>(0x1122334455667788ull);
        const LPARAM lParam = static_cast<LPARAM>(0x0102030405060708ll);
        EXPECT_EQ(SendMessageW(form.Handle(), WM_USER + 5, wParam, lParam), 1234);
        ASSERT_EQ(form.passed.size(), 1u);
        EXPECT_EQ(form.passed[0], std::make_pair(wParam, lParam)) << "passed on unchanged, all 64 bits";
        EXPECT_TRUE(IsWindowUnicode(form.Handle())) << "text travels wide through the receiver";
    }
    EXPECT_EQ(GetWindowLongPtrW(form.Handle(), GWLP_WNDPROC), before);
    // A later drop reaches the window's own procedure and nobody else.
    bool released = false;
    SendDrop(form.Handle(), {L"C:\\"}, &released);
    EXPECT_FALSE(released) << "without the receiver nobody finishes the drop";
}

TEST_F(DropEvents, SplitsNamesAtTheirLastSeparator) {
    bool released = false;
    SendDrop(form.Handle(), {L"C:\\Data\\Reports", L"D:\\", L"\\\\server\\share\\dir", L"  C:\\spaced \t"},
             &released);
    EXPECT_TRUE(released);
    EXPECT_EQ(events, (Strings{"item [C:\\Data\\][Reports][C:\\Data\\Reports]", "item [D:\\][][D:\\]",
                               "item [\\\\server\\share\\][dir][\\\\server\\share\\dir]",
                               "item [C:\\][spaced][C:\\spaced]"}));

    events.clear();
    SendDrop(form.Handle(), {L"a", L"b", L"c"});
    EXPECT_EQ(events, (Strings{"item [][a][a]", "item [][b][b]", "item [][c][c]"}));
}

TEST_F(DropEvents, DropWithoutNames) {
    SendDrop(form.Handle(), {L"x"});
    bool released = false;
    SendDrop(form.Handle(), {}, &released);
    EXPECT_TRUE(released);
    const HGLOBAL probe = MakeDrop({});
    const UINT count = DragQueryFileW(static_cast<HDROP>(probe), 0xFFFFFFFF, nullptr, 0);
    GlobalFree(probe);
    if (count == 0) {
        EXPECT_EQ(events, (Strings{"item [][x][x]"}));
    } else {
        // Wine reads an empty list as one empty name, which is delivered.
        EXPECT_EQ(events, (Strings{"item [][x][x]", "item [][][]"}));
    }
}

TEST_F(DropEvents, LongNamesAreReadWholeOrSkipped) {
    const std::string n254 = "C:\\" + std::string(251, 'a');
    const std::string n255 = "C:\\" + std::string(252, 'b');
    const std::string n259 = "C:\\" + std::string(256, 'c');
    const std::string n260 = "C:\\" + std::string(257, 'e');
    const std::string n300 = "C:\\" + std::string(297, 'd');
    // The limit counts UTF-16 units: 259 Cyrillic units are 518 bytes of UTF-8.
    std::string cyrillic259 = "C:\\", cyrillic260;
    for (int i = 0; i < 256; ++i) cyrillic259 += "Ж";
    cyrillic260 = cyrillic259 + "Ж";
    // Names in any script are read wide, a surrogate without its partner too.
    SendDrop(form.Handle(), {L"C:\\日本\\Папка 😀", Wide(n254), Wide(n255), Wide(n259), Wide(n260), Wide(n300),
                             L"C:\\" + std::wstring(256, L'Ж'), L"C:\\" + std::wstring(257, L'Ж'), L"C:\\x\xD800"});
    EXPECT_EQ(names, (Strings{"C:\\日本\\Папка 😀", n254, n255, n259, cyrillic259, "C:\\x\xED\xA0\x80"}));
    ASSERT_EQ(events.size(), 7u);
    EXPECT_EQ(events[0], "item [C:\\日本\\][Папка 😀][C:\\日本\\Папка 😀]");
    EXPECT_EQ(events[6], "skipped 3") << "260 characters is one too many, after the names kept";
}

TEST(DropReceiver, AFailingHandlerStillReleasesTheDrop) {
    DropTarget form;
    ShellDropTarget receiver(&form);
    receiver.OnDrop = [](const DroppedName&) { throw std::runtime_error("handler failed"); };
    const std::wstring marker = L"C:\\quenmar-drop-marker";
    const HGLOBAL drop = MakeDrop({marker});
    // The error box comes after the drop was released. The box may be handed
    // the freed handle again, so "released" means: no longer our block.
    auto stillOurs = [&] {
        if (GlobalSize(drop) == 0) return false;
        const auto* header = static_cast<const DROPFILES*>(GlobalLock(drop));
        const bool ours = header && header->pFiles == sizeof(DROPFILES) &&
                          std::wstring(reinterpret_cast<const wchar_t*>(header + 1)) == marker;
        GlobalUnlock(drop);
        return ours;
    };
    bool heldWhileBoxUp = true;
    ModalBoxes boxes([&](const SeenBox&) {
        heldWhileBoxUp = stillOurs();
        return IDOK;
    });
    SendMessageW(form.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    ASSERT_EQ(boxes.seen.size(), 1u);
    EXPECT_FALSE(heldWhileBoxUp);
    EXPECT_EQ(boxes.seen[0].text, "handler failed");
}

// Drops onto the main window, with real folders on the prefix's C: drive.
class MainWindowDrops : public ::testing::Test {
protected:
    static constexpr const char* kRoot = "C:\\quenmar-drops";
    void SetUp() override {
        registry.Reset();
        std::filesystem::create_directories(std::string(kRoot) + "\\Docs");
        std::filesystem::create_directories(std::string(kRoot) + "\\Music");
        std::ofstream(std::string(kRoot) + "\\Docs\\a.txt");
        form = std::make_unique<MainWindowProbe>();
        form->Show();
        PumpMessages();
        form->WaitForIcons();
    }
    void TearDown() override {
        form.reset();
        PumpMessages();
        registry.Reset();
        std::error_code ignored;
        std::filesystem::remove_all(kRoot, ignored);
    }
    void Drop(const std::vector<std::wstring>& names) {
        SendDrop(form->Handle(), names);
        PumpMessages();
    }

    RealRegistryBackend registry;
    std::unique_ptr<MainWindowProbe> form;
};

TEST_F(MainWindowDrops, TheLastValidNameWinsAndBadNamesAreToldOnce) {
    AcceptedBoxes boxes;
    Drop({L"C:\\quenmar-drops\\Docs", L"C:\\quenmar-drops\\Music", L"C:\\quenmar-drops\\gone",
          L"C:\\" + std::wstring(300, L'x'), L"C:\\" + std::wstring(260, L'y')});
    EXPECT_EQ(form->pathEdit.Text(), "C:\\quenmar-drops\\Music\\");
    EXPECT_EQ(form->Editor().Slot(0).path, "C:\\quenmar-drops\\Music\\");
    ASSERT_EQ(boxes.seen.size(), 1u);
    EXPECT_EQ(boxes.seen[0].text, "The name of a dropped folder cannot be stored: it is longer than a path can be.");
}

TEST_F(MainWindowDrops, TenThousandNames) {
    std::vector<std::wstring> names;
    for (int i = 0; i < 10000; ++i) {
        names.push_back(i % 3 == 0 ? L"C:\\quenmar-drops\\Docs\\a.txt" : L"C:\\quenmar-drops\\nothing" + std::to_wstring(i));
    }
    names[7777] = L"C:\\quenmar-drops\\Music";
    const HGLOBAL drop = MakeDrop(names);
    SendMessageW(form->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    EXPECT_EQ(GlobalSize(drop), 0u) << "the drop handle was released";
    EXPECT_EQ(form->pathEdit.Text(), "C:\\quenmar-drops\\Docs\\") << "9999 is a file in Docs";
}

}  // namespace
}  // namespace quenmar::testing
