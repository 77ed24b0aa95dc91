#include <windows.h>

#include <gtest/gtest.h>

#include "ModalBoxes.h"
#include "widgets/Application.h"
#include "widgets/Button.h"
#include "widgets/CheckBox.h"
#include "widgets/Edit.h"
#include "widgets/FlatButton.h"
#include "widgets/Form.h"
#include "widgets/ImageList.h"
#include "widgets/ListView.h"
#include "widgets/RadioButton.h"
#include "widgets/SystemColours.h"
#include "win32/WideText.h"

namespace quenmar::widgets {
namespace {

// A form of the tests, of that class and client size, whose window goes
// with the object.
class TestForm : public Form {
public:
    TestForm(const wchar_t* className, int width, int height) : Form(Style(className, width, height)) {}
    ~TestForm() override {
        if (Handle()) DestroyWindow(Handle());
    }
    static FormStyle Style(const wchar_t* className, int width, int height) {
        FormStyle style;
        style.className = className;
        style.clientWidth = width;
        style.clientHeight = height;
        return style;
    }
};

using testing::PumpMessages;

// A form with one control of each kind, recording every event in order.
class RecordingForm : public TestForm {
public:
    RecordingForm() : TestForm(L"QuenmarTestForm", 300, 200) { CreateHandle(); }

    void Showing() override { log.push_back("show"); }
    void Activated() override {
        if (logActivation) log.push_back("activate");
    }
    bool Closing() override {
        log.push_back("close");
        return allowClose;
    }
    void Destroying() override { log.push_back("destroy"); }
    void Created() override {
        radioA.Create(*this, "&A", {10, 10, 80, 17}, kAnchorsDefault, true);
        radioB.Create(*this, "&B", {10, 30, 80, 17});
        radioB.JoinGroupOf(radioA);
        check.Create(*this, "&Check", {10, 50, 80, 17});
        edit.Create(*this, {10, 70, 100, 21}, Anchor::Left | Anchor::Top | Anchor::Right, false);
        list.Create(*this, {10, 100, 200, 80}, Anchor::Left | Anchor::Top | Anchor::Right | Anchor::Bottom, LVS_REPORT);
        list.AddColumn(150);
        cancel.Create(*this, "Cancel", {220, 170, 70, 25}, Anchor::Right | Anchor::Bottom);
        SetCancelButton(&cancel);
        radioA.OnClick = [this] { log.push_back("A click"); };
        radioB.OnClick = [this] { log.push_back("B click"); };
        check.OnClick = [this] { log.push_back(check.Checked() ? "check on" : "check off"); };
        edit.OnChange = [this] { log.push_back("edit " + edit.Text()); };
        list.OnSelectionChanged = [this](std::optional<int> item) {
            log.push_back("list " + (item ? std::to_string(*item) : std::string("none")) + ", shown " +
                          std::to_string(list.SelectedIndex()));
        };
        cancel.OnClick = [this] { log.push_back("cancel"); };
        log.push_back("create");
    }

    std::vector<std::string> TakeLog() { return std::exchange(log, {}); }

    RadioButton radioA, radioB;
    CheckBox check;
    Edit edit;
    ListView list;
    Button cancel;
    std::vector<std::string> log;
    bool allowClose = true;
    bool logActivation = false;  // a click on a control activates its form
};

using Log = std::vector<std::string>;

// Each control fires only for a change, from code or from the user: a radio
// button when it becomes checked, the check box on every change, the edit
// box when its text changes, the list once for each request, click or key
// that moves its selection, after the move.
// What the program sets fires nothing (a view shows its model without
// talking to itself); what the user does fires once for each change.
TEST(Widgets, ControlsFireForTheUsersChangesOnly) {
    RecordingForm form;
    form.TakeLog();
    form.radioA.SetChecked(true);
    form.radioB.SetChecked(true);
    EXPECT_TRUE(form.radioB.Checked() && !form.radioA.Checked());
    form.check.SetChecked(true);
    for (const char* text : {"", "C:\\", "D:\\"}) form.edit.SetText(text);
    for (int i = 0; i < 3; ++i) form.list.AddItem("item", -1);
    form.list.SetSelected(2, true);
    form.list.SetFocused(1);
    EXPECT_EQ(form.TakeLog(), Log{}) << "set by the program";
    EXPECT_EQ(form.list.SelectedIndex(), 2);

    // A user's click arrives as BN_CLICKED from the control itself.
    SendMessageW(form.radioA.Handle(), BM_CLICK, 0, 0);
    SendMessageW(form.radioA.Handle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(form.radioA.Checked() && !form.radioB.Checked());
    SendMessageW(form.check.Handle(), BM_CLICK, 0, 0);
    SendMessageW(form.check.Handle(), BM_CLICK, 0, 0);
    SetWindowTextW(form.edit.Handle(), L"E:\\");
    const auto select = [&](int item, bool selected) {
        LVITEMW state{};
        state.stateMask = LVIS_SELECTED;
        state.state = selected ? LVIS_SELECTED : 0;
        SendMessageW(form.list.Handle(), LVM_SETITEMSTATE, item, reinterpret_cast<LPARAM>(&state));
    };
    select(0, true);
    select(0, true);
    select(0, false);
    EXPECT_EQ(form.TakeLog(), (Log{"A click", "check off", "check on", "edit E:\\", "list 0, shown 0", "list none, shown -1"}));

    // The mouse and the keys: a click on a row, Down, a click below the rows.
    form.Show();
    PumpMessages();
    form.TakeLog();
    SetFocus(form.list.Handle());
    RECT row{LVIR_BOUNDS};
    SendMessageW(form.list.Handle(), LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row));
    const auto click = [&](int x, int y) {
        SendMessageW(form.list.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        SendMessageW(form.list.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    };
    click(row.left + 5, (row.top + row.bottom) / 2);
    SendMessageW(form.list.Handle(), WM_KEYDOWN, VK_DOWN, 0);
    click(row.left + 5, row.bottom + 3 * (row.bottom - row.top));
    EXPECT_EQ(form.TakeLog(), (Log{"list 1, shown 1", "list 2, shown 2", "list none, shown -1"}));
}

TEST(Widgets, FormEventsInOrderAndCloseCanBeRefused) {
    RecordingForm form;
    form.logActivation = true;
    form.Show();
    PumpMessages();
    Log log = form.TakeLog();
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ((Log{log[0], log[1], log[2]}), (Log{"create", "show", "activate"}));
    form.allowClose = false;
    form.Close();
    EXPECT_TRUE(IsWindow(form.Handle()));
    form.allowClose = true;
    form.Close();
    EXPECT_EQ(form.TakeLog(), (Log{"close", "close", "destroy"}));
    EXPECT_EQ(form.Handle(), nullptr);
}

// Its children are drawn over the background once; from then on it clips
// them, so that sizing it does not flicker.
TEST(Widgets, AFormThatClipsItsChildrenDoesSoOnceShown) {
    class ClippingForm : public Form {
    public:
        ClippingForm() : Form(Clipping(TestForm::Style(L"QuenmarClippingForm", 200, 100))) { CreateHandle(); }
        ~ClippingForm() override { DestroyWindow(Handle()); }
        static FormStyle Clipping(FormStyle style) {
            style.style |= WS_CLIPCHILDREN;
            return style;
        }
        void Created() override { edit.Create(*this, {10, 10, 100, 21}, kAnchorsDefault, false); }
        Edit edit;
    } form;
    form.Show();
    PumpMessages();
    EXPECT_TRUE(GetWindowLongPtrW(form.Handle(), GWL_STYLE) & WS_CLIPCHILDREN);
    SetWindowPos(form.Handle(), nullptr, 0, 0, 400, 300, SWP_NOMOVE | SWP_NOZORDER);
    PumpMessages();
    EXPECT_TRUE(GetWindowLongPtrW(form.Handle(), GWL_STYLE) & WS_CLIPCHILDREN) << "after sizing too";
}

TEST(Widgets, EscapePressesTheCancelButton) {
    RecordingForm form;
    form.Show();
    SetFocus(form.edit.Handle());
    PumpMessages();
    form.TakeLog();
    PostMessageW(form.edit.Handle(), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    PumpMessages();
    EXPECT_EQ(form.TakeLog(), Log{"cancel"});
    // A mnemonic reaches its radio button.
    PostMessageW(form.edit.Handle(), WM_SYSCHAR, 'b', 0x20000000);
    PumpMessages();
    EXPECT_TRUE(form.radioB.Checked());
}

TEST(Widgets, ExceptionsInHandlersGoToTheErrorBox) {
    Application::Instance().SetTitle("Quenmar");
    RecordingForm form;
    form.check.OnClick = [] { throw std::runtime_error("Failed to set data for 'Place2'"); };
    testing::AcceptedBoxes boxes;
    SendMessageW(form.check.Handle(), BM_CLICK, 0, 0);
    ASSERT_EQ(boxes.seen.size(), 1u);
    EXPECT_EQ(boxes.seen[0].caption, "Quenmar");
    EXPECT_EQ(boxes.seen[0].text, "Failed to set data for 'Place2'");
    EXPECT_EQ(boxes.seen[0].icon, LoadIcon(nullptr, IDI_HAND));
    EXPECT_TRUE(IsWindow(form.Handle())) << "the program goes on";
}

// A window whose controls or create event fail is not left half-built: its
// creation fails with their error.
TEST(Widgets, AFailedCreationRaisesItsErrorAndLeavesNoWindow) {
    struct Failing : TestForm {
        Failing() : TestForm(L"QuenmarTestForm", 300, 200) {}
        void Created() override {
            edit.Create(*this, {10, 10, 100, 21}, kAnchorsDefault, false);
            throw std::runtime_error("no controls today");
        }
        Edit edit;
    };
    testing::AcceptedBoxes boxes;
    Failing form;
    try {
        form.CreateHandle();
        ADD_FAILURE() << "created";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "no controls today");
    }
    EXPECT_EQ(form.Handle(), nullptr);
    EXPECT_FALSE(IsWindow(form.edit.Handle())) << "its controls went with it";
    EXPECT_TRUE(boxes.seen.empty()) << "told once, by whoever shows the error";
}

TEST(Widgets, AnchorsMoveAndStretchAndMinimumSizeHolds) {
    RecordingForm form;
    auto width = [](RECT r) { return r.right - r.left; };
    // A wider design, for longer texts, follows the same anchors: what is
    // anchored left and right stretches, what is anchored right moves.
    const RECT editDesigned = form.edit.Rect(), cancelDesigned = form.cancel.Rect();
    form.WidenDesign(20);
    EXPECT_EQ(form.edit.Rect().left, editDesigned.left);
    EXPECT_EQ(form.edit.Rect().right, editDesigned.right + 20);
    EXPECT_EQ(form.cancel.Rect().left, cancelDesigned.left + 20);
    EXPECT_EQ(width(form.cancel.Rect()), width(cancelDesigned));
    form.Show();
    const RECT editBefore = form.edit.Rect();
    const RECT listBefore = form.list.Rect();
    const RECT cancelBefore = form.cancel.Rect();
    const RECT radioBefore = form.radioA.Rect();
    const SIZE outer = form.OuterSize();
    form.SetMinTrackSize(outer.cx, outer.cy);
    SetWindowPos(form.Handle(), nullptr, 0, 0, outer.cx + 50, outer.cy + 30, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(width(form.edit.Rect()), width(editBefore) + 50);
    EXPECT_EQ(form.edit.Rect().top, editBefore.top);
    EXPECT_EQ(form.list.Rect().bottom, listBefore.bottom + 30);
    EXPECT_EQ(form.cancel.Rect().left, cancelBefore.left + 50);
    EXPECT_EQ(form.cancel.Rect().top, cancelBefore.top + 30);
    EXPECT_EQ(width(form.cancel.Rect()), width(cancelBefore));
    EXPECT_EQ(form.radioA.Rect().left, radioBefore.left);
    MINMAXINFO info{};
    SendMessageW(form.Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, outer.cx);
    EXPECT_EQ(info.ptMinTrackSize.y, outer.cy);
}

TEST(Widgets, AdoptedImageListIsNeverDestroyed) {
    HIMAGELIST shared = ImageList_Create(16, 16, ILC_COLOR32, 1, 1);
    {
        ImageList list;
        list.CreateOwn(32, 32);
        HIMAGELIST seen = nullptr;
        list.listeners.push_back([&](HIMAGELIST handle) { seen = handle; });
        list.Adopt(shared);
        EXPECT_EQ(seen, shared);
        EXPECT_EQ(list.Handle(), shared);
    }
    int cx = 0, cy = 0;
    EXPECT_TRUE(ImageList_GetIconSize(shared, &cx, &cy)) << "still alive after its adopter went";
    ImageList_Destroy(shared);
}

class HotForm : public TestForm {
public:
    HotForm() : TestForm(L"QuenmarHotForm", 200, 100) { CreateHandle(); }
    void Created() override {
        button.Create(*this, "&Go", {10, 10, 90, 25});
        radio.Create(*this, "&Radio", {10, 40, 90, 17}, kAnchorsDefault, true);
        button.OnClick = [this] { ++clicks; };
    }
    FlatButton button;
    FlatRadioButton radio;
    int clicks = 0;
};

TEST(HotButtons, FaceFollowsTheMouseAndFocus) {
    HotForm form;
    form.Show();
    testing::PumpMessages();
    const HWND button = form.button.Handle();
    RECT r{};
    GetClientRect(button, &r);
    const int midX = r.right / 2, edgeY = 8;  // between the frame, the focus rectangle and the text
    // The palette's colours for each state, each different from the others.
    const widgets::Palette& colours = widgets::CurrentPalette();
    ASSERT_NE(colours.face, colours.hotFace);
    EXPECT_EQ(testing::ClientPixel(button, 6, edgeY), colours.face) << "the face colour";
    SendMessageW(button, WM_MOUSEMOVE, 0, MAKELPARAM(midX, 5));
    EXPECT_TRUE(form.button.Hot());
    InvalidateRect(button, nullptr, FALSE);
    EXPECT_EQ(testing::ClientPixel(button, 6, edgeY), colours.hotFace) << "hot-track colour under the mouse";
    SendMessageW(button, WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(form.button.Hot());
    SendMessageW(button, WM_MOUSEMOVE, 0, MAKELPARAM(midX, 5));
    EnableWindow(button, FALSE);
    EXPECT_FALSE(form.button.Hot()) << "a disabled button is never hot";
    EnableWindow(button, TRUE);
    SetFocus(button);
    InvalidateRect(button, nullptr, FALSE);
    EXPECT_EQ(testing::ClientPixel(button, 0, midX % r.bottom), colours.focusFrame) << "highlight frame with the focus";
    // The mnemonic still presses it.
    PostMessageW(form.radio.Handle(), WM_SYSCHAR, 'g', 0x20000000);
    testing::PumpMessages();
    EXPECT_EQ(form.clicks, 1);
}

TEST(HotButtons, RadioLightsUpWhenCheckedAndHot) {
    HotForm form;
    form.Show();
    EXPECT_EQ(form.radio.TextColor(), CLR_INVALID);
    form.radio.SetChecked(true);
    EXPECT_EQ(form.radio.TextColor(), widgets::CurrentPalette().checkedCaption);
    EXPECT_EQ(form.radio.BackgroundBrush(), nullptr);
    SendMessageW(form.radio.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    ASSERT_NE(form.radio.BackgroundBrush(), nullptr);
    LOGBRUSH brush{};
    GetObjectW(form.radio.BackgroundBrush(), sizeof brush, &brush);
    EXPECT_EQ(brush.lbColor, widgets::CurrentPalette().hotBackground);
}

// The hints' window a form owns, found as the system lists its windows; null
// when it has none.
BOOL CALLBACK FindHintWindow(HWND window, LPARAM found) {
    auto& [owner, hint] = *reinterpret_cast<std::pair<HWND, HWND>*>(found);
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (lstrcmpiW(name, TOOLTIPS_CLASSW) == 0 && GetWindow(window, GW_OWNER) == owner) hint = window;
    return TRUE;
}
HWND HintWindowOf(HWND form) {
    std::pair<HWND, HWND> search{form, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), FindHintWindow, reinterpret_cast<LPARAM>(&search));
    return search.second;
}

TEST(Hints, HintWindowIsMadeWhenTheMouseFirstComesOverAHintedControl) {
    HotForm form;
    form.button.SetHint("Goes somewhere");
    form.Show();
    testing::PumpMessages();
    EXPECT_EQ(HintWindowOf(form.Handle()), nullptr) << "no hint window before it is needed";

    PostMessageW(form.radio.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    testing::PumpMessages();
    EXPECT_EQ(HintWindowOf(form.Handle()), nullptr) << "the radio button has no hint";

    PostMessageW(form.button.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    testing::PumpMessages();
    const HWND tooltip = HintWindowOf(form.Handle());
    ASSERT_NE(tooltip, nullptr);
    EXPECT_EQ(GetWindow(tooltip, GW_OWNER), form.Handle());
    ASSERT_EQ(SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0), 1);
    wchar_t text[80] = {};
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.lpszText = text;
    ASSERT_TRUE(SendMessageW(tooltip, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&tool)));
    EXPECT_EQ(reinterpret_cast<HWND>(tool.uId), form.button.Handle());
    EXPECT_STREQ(text, L"Goes somewhere");
    EXPECT_FALSE(tool.uFlags & TTF_SUBCLASS) << "mouse messages come from the message loop";

    // A hint given later replaces the tool's text rather than adding a tool.
    form.button.SetHint("Goes elsewhere");
    EXPECT_EQ(SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0), 1);
    text[0] = '\0';
    SendMessageW(tooltip, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(text, L"Goes elsewhere");
}

TEST(Hints, TheHintShowsWhenTheMouseRestsOnTheControl) {
    HotForm form;
    form.button.SetHint("Goes somewhere");
    form.Show();
    SetForegroundWindow(form.Handle());
    testing::PumpMessages();
    RECT r{};
    GetWindowRect(form.button.Handle(), &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    bool shown = false;
    for (int wait = 0; wait < 1500 && !shown; ++wait) {
        testing::PumpMessages();
        shown = HintWindowOf(form.Handle()) && IsWindowVisible(HintWindowOf(form.Handle()));
        if (!shown) Sleep(20);
    }
    ASSERT_TRUE(shown) << "no hint within thirty seconds of the mouse resting on the button";
    wchar_t text[80] = {};
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.lpszText = text;
    ASSERT_TRUE(SendMessageW(HintWindowOf(form.Handle()), TTM_GETCURRENTTOOLW, 0, reinterpret_cast<LPARAM>(&tool)));
    EXPECT_STREQ(text, L"Goes somewhere");
    SetCursorPos(0, 0);
}

}  // namespace
}  // namespace quenmar::widgets
