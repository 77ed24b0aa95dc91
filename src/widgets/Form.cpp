#include "widgets/Form.h"

#include <windowsx.h>

#include <exception>
#include <stdexcept>
#include <utility>

#include <commctrl.h>

#include <algorithm>

#include "widgets/Application.h"
#include "widgets/Button.h"
#include "widgets/RadioButton.h"
#include "widgets/Resources.h"
#include "widgets/SystemColours.h"
#include "win32/WideText.h"

namespace quenmar::widgets {

namespace {

int ScreenDpi() {
    const win::WindowDC screen(nullptr);
    const int dpi = GetDeviceCaps(screen.get(), LOGPIXELSY);
    return dpi > 0 ? dpi : 96;
}

}  // namespace

Form::Form(FormStyle style) : style_(std::move(style)), dpi_(ScreenDpi()) {
    Application::Instance().RegisterForm(this);
}

int Form::ScaledMetric(int index) const { return MulDiv(GetSystemMetrics(index), dpi_, ScreenDpi()); }

Form::~Form() {
    // Derived forms destroy their windows themselves, while their steps can
    // still run; this is the fallback, which reaches only this class's.
    controls_.clear();
    if (hwnd_) DestroyWindow(hwnd_);
    Application::Instance().UnregisterForm(this);
}

void Form::RegisterClassOnce() {
    WNDCLASSEXW existing{sizeof existing};
    if (GetClassInfoExW(GetModuleHandleW(nullptr), style_.className.c_str(), &existing)) return;
    WNDCLASSEXW wc{sizeof wc};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = GetSysColorBrush(style_.backgroundColor);
    // The class's icons, also given for WM_GETICON (see HandleMessage): no
    // WM_SETICON, which costs each window a conversion of the icon for the
    // window manager (about 2 ms each under Wine).
    wc.hIcon = style_.icon;
    wc.hIconSm = style_.smallIcon;
    wc.lpszClassName = style_.className.c_str();
    RegisterClassExW(&wc);
}

void Form::CreateHandle(HWND owner) {
    if (hwnd_) return;
    RegisterClassOnce();
    font_.reset(CreateFontFor(style_.fontHeight, false, false, style_.fontFace));
    designWidth_ = Scale(style_.clientWidth);
    designHeight_ = Scale(style_.clientHeight);
    RECT outer{0, 0, designWidth_, designHeight_};
    AdjustWindowRectEx(&outer, style_.style, FALSE, style_.exStyle);
    // An owned window is mirrored with the program, as one without an owner
    // is by the system, for a language read from right to left.
    DWORD layout = 0;
    const DWORD mirrored = GetProcessDefaultLayout(&layout) && (layout & LAYOUT_RTL) ? WS_EX_LAYOUTRTL : 0;
    // Clipping its children is taken on once it is first drawn (see Show):
    // Wine shows a clipping window with many children markedly slower.
    const HWND window = CreateWindowExW(style_.exStyle | mirrored, style_.className.c_str(), L"", style_.style & ~WS_CLIPCHILDREN,
                                        CW_USEDEFAULT, CW_USEDEFAULT, outer.right - outer.left,
                                        outer.bottom - outer.top, owner, nullptr, GetModuleHandleW(nullptr), this);
    if (createError_) std::rethrow_exception(std::exchange(createError_, nullptr));
    if (!window) throw std::runtime_error(TextOf(IDS_WINDOW_NOT_CREATED));
}

LRESULT CALLBACK Form::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Form* form = nullptr;
    if (message == WM_NCCREATE) {
        form = static_cast<Form*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        form->hwnd_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    } else {
        form = reinterpret_cast<Form*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    }
    if (!form) return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        form->hwnd_ = nullptr;
        form->tooltip_ = nullptr;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return form->Dispatch(message, wParam, lParam);
}

LRESULT Form::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    Application::Instance().Guard(hwnd_, [&] { result = HandleMessage(message, wParam, lParam); });
    return result;
}

// A control's command, or a dialog key's: Esc clicks the cancel button,
// Enter the focused button or else the default one. The control whose
// command runs is where the keyboard goes back to if it opens a window.
void Form::HandleCommand(int id, WORD code, bool fromControl) {
    if (fromControl) {
        const auto found = controls_.find(id);
        if (found == controls_.end()) return;
        const HWND outer = std::exchange(commandSource_, found->second->Handle());
        const win::ScopeExit restore([&] { commandSource_ = outer; });
        found->second->HandleCommand(code);
        return;
    }
    if (id == IDCANCEL) {
        if (cancelButton_ && cancelButton_->Enabled()) cancelButton_->Click();
    } else if (id == IDOK) {
        Control* focused = ControlOf(GetFocus());
        if (focused && focused->EnterMovesOn()) {
            // As Tab does (the form is no dialog, which would take WM_NEXTDLGCTL).
            if (const HWND next = GetNextDlgTabItem(hwnd_, focused->Handle(), FALSE)) SetFocus(next);
        } else if (auto* button = dynamic_cast<Button*>(focused)) {
            button->Click();
        } else if (defaultButton_ && defaultButton_->Enabled()) {
            defaultButton_->Click();
        }
    }
}

// A label's or button's colours: its own text colour and background, else
// the form's; transparent labels where the form asks for them.
LRESULT Form::ColorControl(UINT message, HDC dc, HWND child) {
    const Control* control = ControlOf(child);
    const COLORREF color = control ? control->TextColor() : CLR_INVALID;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, color != CLR_INVALID ? color : GetSysColor(COLOR_WINDOWTEXT));
    wchar_t className[16] = {};
    GetClassNameW(child, className, static_cast<int>(std::size(className)));
    const bool isLabel = message == WM_CTLCOLORSTATIC && lstrcmpiW(className, L"Static") == 0;
    if (style_.transparentLabels && isLabel) return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    if (const HBRUSH own = control ? control->BackgroundBrush() : nullptr) return reinterpret_cast<LRESULT>(own);
    return reinterpret_cast<LRESULT>(GetSysColorBrush(style_.backgroundColor));
}

// Leaving, the form remembers where the keyboard was (or which control's
// command is opening another window); coming back, it puts the focus there
// if that control can still take it, else on the first in the tab order.
void Form::FocusOnActivation(bool active) {
    if (!active) {
        const HWND focus = commandSource_ ? commandSource_ : GetFocus();
        focusToRestore_ = IsChild(hwnd_, focus) ? focus : nullptr;
        return;
    }
    if (!IsChild(hwnd_, GetFocus())) {
        const HWND restore = std::exchange(focusToRestore_, nullptr);
        const bool canTake = restore && IsChild(hwnd_, restore) && IsWindowEnabled(restore) && IsWindowVisible(restore);
        const HWND first = canTake ? restore : GetNextDlgTabItem(hwnd_, nullptr, FALSE);
        if (first) SetFocus(first);
    }
    Activated();
}

LRESULT Form::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        // A half-built window does not live on: creation fails, and whoever
        // creates the window gets the error.
        try {
            Created();
        } catch (...) {
            createError_ = std::current_exception();
            return -1;
        }
        return 0;
    case WM_COMMAND:
        HandleCommand(LOWORD(wParam), HIWORD(wParam), lParam != 0);
        return 0;
    case WM_HELP:
        Application::Instance().ShowHelp(hwnd_);
        return TRUE;
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE: {
        // Another scheme: the colours change; high contrast may come or go
        // with a setting. The controls the system draws hear of it too.
        const bool contrastChanged = RefreshPalette();
        if (message == WM_SETTINGCHANGE && !contrastChanged && wParam != SPI_SETHIGHCONTRAST) {
            return Default(message, wParam, lParam);
        }
        for (HWND child = GetWindow(hwnd_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            SendMessageW(child, WM_SYSCOLORCHANGE, 0, 0);
        }
        ColoursChanged();
        RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        return 0;
    }
    case WM_CONTEXTMENU:
        if (Control* control = ControlOf(reinterpret_cast<HWND>(wParam));
            control && control->HandleContextMenu({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)})) {
            return 0;
        }
        return Default(message, wParam, lParam);
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        Control* control = ControlOf(header->hwndFrom);
        return control ? control->HandleNotify(header) : 0;
    }
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        const auto found = controls_.find(static_cast<int>(item->CtlID));
        if (found != controls_.end() && found->second->HandleDrawItem(*item)) return TRUE;
        return Default(message, wParam, lParam);
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        return ColorControl(message, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_GETICON:
        // The icons set on the window, if any; else the class's, which
        // DefWindowProc does not report.
        if (const LRESULT own = Default(message, wParam, lParam)) return own;
        return reinterpret_cast<LRESULT>(wParam == ICON_BIG || !style_.smallIcon ? style_.icon : style_.smallIcon);
    case WM_ERASEBKGND: {
        const HDC dc = reinterpret_cast<HDC>(wParam);
        if (PaintBackground(dc)) return TRUE;
        // The colour as it is now: the class's brush is the one the colour
        // had when the class was registered.
        RECT client{};
        GetClientRect(hwnd_, &client);
        FillRect(dc, &client, GetSysColorBrush(style_.backgroundColor));
        return TRUE;
    }
    case WM_PRINTCLIENT:
        PaintBackground(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED) ApplyAnchors(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_DPICHANGED:
        ChangeDpi(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        const SIZE frame = FrameSize();
        if (minClientWidth_ > 0) info->ptMinTrackSize.x = minClientWidth_ + frame.cx;
        if (minClientHeight_ > 0) info->ptMinTrackSize.y = minClientHeight_ + frame.cy;
        return 0;
    }
    case WM_ACTIVATE:
        FocusOnActivation(LOWORD(wParam) != WA_INACTIVE);
        return 0;
    case WM_SETCURSOR: {
        const Control* control = ControlOf(reinterpret_cast<HWND>(wParam));
        if (control && control->Cursor() && LOWORD(lParam) == HTCLIENT) {
            ::SetCursor(control->Cursor());
            return TRUE;
        }
        return Default(message, wParam, lParam);
    }
    case DM_GETDEFID:
        if (defaultButton_) return MAKELRESULT(defaultButton_->Id(), DC_HASDEFID);
        return 0;
    case WM_CLOSE: {
        if (!Closing()) return 0;  // an error in it keeps the window too
        if (modal_) {
            if (modalResult_ == 0) modalResult_ = IDCANCEL;
        } else {
            DestroyWindow(hwnd_);
        }
        return 0;
    }
    case WM_DESTROY:
        Destroying();
        if (Application::Instance().MainForm() == this) PostQuitMessage(0);
        return 0;
    default:
        return Default(message, wParam, lParam);
    }
}

bool Form::PreTranslate(MSG& msg) {
    if (!hwnd_) return false;
    switch (msg.message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        RelayToTooltip(msg);
        break;
    default:
        break;
    }
    // What the keys run is guarded as the window procedure is: an error is
    // shown in the error box and the loop goes on.
    bool taken = false;
    Application::Instance().Guard(hwnd_, [&] {
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_F1) {
            // Any window's help, whatever control has the focus.
            Application::Instance().ShowHelp(hwnd_);
            taken = true;
            return;
        }
        if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) taken = HandleKey(msg);
        if (!taken && msg.message == WM_KEYDOWN && (msg.wParam == VK_RETURN || msg.wParam == VK_SPACE)) {
            Control* control = ControlOf(msg.hwnd);
            taken = control && control->Activate();
        }
    });
    if (taken) return true;
    const bool arrow = msg.message == WM_KEYDOWN &&
                       (msg.wParam == VK_LEFT || msg.wParam == VK_RIGHT || msg.wParam == VK_UP || msg.wParam == VK_DOWN);
    if (!IsDialogMessageW(hwnd_, &msg)) return false;
    if (arrow) {
        // The dialog keys moved the focus within a group: the radio button
        // they moved it to is checked, as an automatic one checks itself.
        if (auto* button = dynamic_cast<RadioButton*>(ControlOf(GetFocus()))) button->Choose();
    }
    return true;
}

void Form::RelayToTooltip(MSG& msg) {
    if (!tooltip_) {
        // Made when the mouse first comes over a control with a hint: most
        // sessions never need it.
        const bool overHinted = std::any_of(hinted_.begin(), hinted_.end(),
                                            [&](const Control* control) { return control->Handle() == msg.hwnd; });
        if (!overHinted) return;
        tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
        if (!tooltip_) return;
        for (Control* control : hinted_) RegisterTool(*control);
    }
    SendMessageW(tooltip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
}

Control* Form::ControlOf(HWND window) const {
    const auto found = controls_.find(GetDlgCtrlID(window));
    return found != controls_.end() && found->second->Handle() == window ? found->second : nullptr;
}

int Form::RegisterControl(Control* control) {
    const int id = control->Id() ? control->Id() : nextId_++;
    controls_[id] = control;
    return id;
}

void Form::AddTooltip(Control& control) {
    if (control.Hint().empty() || !control.Handle()) return;
    if (std::find(hinted_.begin(), hinted_.end(), &control) == hinted_.end()) hinted_.push_back(&control);
    if (tooltip_) RegisterTool(control);
}

void Form::RegisterTool(Control& control) {
    TTTOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.uFlags = TTF_IDISHWND;
    info.hwnd = hwnd_;
    info.uId = reinterpret_cast<UINT_PTR>(control.Handle());
    SendMessageW(tooltip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    std::wstring hint = win::Wide(control.Hint());
    info.lpszText = hint.data();
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

// Where every control is at the designed client size, which anchoring
// moves from.
void Form::RememberPlacements() {
    placements_.clear();
    for (const auto& [id, control] : controls_) placements_.push_back({control, control->Rect()});
    appliedWidth_ = designWidth_;
    appliedHeight_ = designHeight_;
}

RECT Form::DesignRect(const Control& control) const {
    const Bounds b = control.DesignBounds();
    return {Scale(b.left), Scale(b.top), Scale(b.left) + Scale(b.width), Scale(b.top) + Scale(b.height)};
}

void Form::WidenDesign(int pixels, bool placed) {
    if (pixels <= 0) return;
    designWidth_ += pixels;
    // The controls are placed for the new width; the anchoring that follows
    // the resize starts from where they are then.
    placements_.clear();
    for (const auto& [id, control] : controls_) {
        const Anchors a = control->anchors();
        if (placed || a.Has(Anchor::ByForm) || !a.Has(Anchor::Right)) continue;
        RECT r = control->Rect();
        if (!a.Has(Anchor::Left)) r.left += pixels;
        r.right += pixels;
        control->Move(r);
    }
    // A change of scale sizes the window itself once its controls are placed.
    if (changingDpi_) return;
    RECT window{};
    GetWindowRect(hwnd_, &window);
    SetWindowPos(hwnd_, nullptr, 0, 0, window.right - window.left + pixels, window.bottom - window.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::ApplyAnchors(int width, int height) {
    if (placements_.empty()) RememberPlacements();  // first sizing: where they were designed to be
    // The controls are where this size puts them already (a window gets
    // WM_SIZE when shown, and again on restore): moving each to where it is
    // would still cost a round trip to the window manager.
    if (width == appliedWidth_ && height == appliedHeight_) return;
    appliedWidth_ = width;
    appliedHeight_ = height;
    const int dx = width - designWidth_;
    const int dy = height - designHeight_;
    HDWP batch = BeginDeferWindowPos(static_cast<int>(placements_.size()));
    for (const Placement& p : placements_) {
        const Anchors a = p.control->anchors();
        // Placed by the form itself, or fixed to the top left where it was made.
        if (a.Has(Anchor::ByForm) || !(a.Has(Anchor::Right) || a.Has(Anchor::Bottom))) continue;
        RECT r = p.rect;
        if (a.Has(Anchor::Right)) {
            if (!a.Has(Anchor::Left)) r.left += dx;
            r.right += dx;
        }
        if (a.Has(Anchor::Bottom)) {
            if (!a.Has(Anchor::Top)) r.top += dy;
            r.bottom += dy;
        }
        if (batch) {
            batch = DeferWindowPos(batch, p.control->Handle(), nullptr, r.left, r.top, r.right - r.left,
                                   r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    if (batch) EndDeferWindowPos(batch);
}

void Form::Show() {
    Application::Instance().Guard(hwnd_, [this] { Showing(); });
    ShowWindow(hwnd_, showCommand_);
    UpdateWindow(hwnd_);
    // Drawn whole once, children over the background; from now on the
    // background is not painted under them, so that sizing does not flicker.
    if (style_.style & WS_CLIPCHILDREN) {
        SetWindowLongPtrW(hwnd_, GWL_STYLE, GetWindowLongPtrW(hwnd_, GWL_STYLE) | WS_CLIPCHILDREN);
    }
    Application::Instance().Guard(hwnd_, [this] { Shown(); });
}

int Form::ShowModal() {
    const HWND owner = GetWindow(hwnd_, GW_OWNER);
    modal_ = true;
    modalResult_ = 0;
    if (owner) EnableWindow(owner, FALSE);
    Show();
    Application::Instance().RunUntil([this] { return modalResult_ != 0 || !hwnd_; });
    if (owner) EnableWindow(owner, TRUE);
    if (hwnd_) ShowWindow(hwnd_, SW_HIDE);
    if (owner) SetActiveWindow(owner);
    modal_ = false;
    return modalResult_;
}

void Form::Close() {
    if (hwnd_) SendMessageW(hwnd_, WM_CLOSE, 0, 0);
}

void Form::SetCaption(const std::string& caption) { SetWindowTextW(hwnd_, win::Wide(caption).c_str()); }

std::string Form::Caption() const { return win::WindowText(hwnd_); }

SIZE Form::OuterSize() const {
    RECT r{};
    GetWindowRect(hwnd_, &r);
    return {r.right - r.left, r.bottom - r.top};
}

void Form::CenterOnScreen() {
    const SIZE size = OuterSize();
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int x = work.left + (work.right - work.left - size.cx) / 2;
    const int y = work.top + (work.bottom - work.top - size.cy) / 2;
    SetWindowPos(hwnd_, nullptr, x < 0 ? 0 : x, y < 0 ? 0 : y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::CenterOver(HWND reference) {
    if (!reference) return CenterOnScreen();
    RECT r{};
    GetWindowRect(reference, &r);
    const SIZE size = OuterSize();
    int x = r.left + (r.right - r.left - size.cx) / 2;
    int y = r.top + (r.bottom - r.top - size.cy) / 2;
    SetWindowPos(hwnd_, nullptr, x < 0 ? 0 : x, y < 0 ? 0 : y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::SetMinTrackSize(int width, int height) {
    const SIZE frame = FrameSize();
    minClientWidth_ = width - frame.cx;
    minClientHeight_ = height - frame.cy;
}

SIZE Form::FrameSize() const {
    RECT outer{}, client{};
    GetWindowRect(hwnd_, &outer);
    GetClientRect(hwnd_, &client);
    return {(outer.right - outer.left) - client.right, (outer.bottom - outer.top) - client.bottom};
}

void Form::AddSystemCommands(const std::vector<std::pair<UINT, std::string>>& commands) {
    const HMENU menu = GetSystemMenu(hwnd_, FALSE);
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    for (const auto& [id, text] : commands) AppendMenuW(menu, MF_STRING, id, win::Wide(text).c_str());
}

HFONT Form::CreateFontInPixels(int height, bool bold, bool underline, const wchar_t* face) const {
    return CreateFontW(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, underline, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                       face ? face : style_.fontFace);
}

HFONT Form::MakeFont(int height96, bool bold, bool underline, const wchar_t* face) {
    HFONT font = CreateFontFor(height96, bold, underline, face);
    extraFonts_.push_back({height96, bold, underline, face, win::UniqueGdiObject(font)});
    return font;
}

void Form::ChangeDpi(int dpi, const RECT& suggested) {
    const int old = std::exchange(dpi_, dpi);
    designWidth_ = Scale(style_.clientWidth);
    designHeight_ = Scale(style_.clientHeight);
    minClientWidth_ = MulDiv(minClientWidth_, dpi, old);
    minClientHeight_ = MulDiv(minClientHeight_, dpi, old);
    // The fonts made again for this scale, each given to the windows that
    // showed the one it replaces.
    std::map<HGDIOBJ, HFONT> renewed;
    win::UniqueGdiObject oldFont(font_.release());
    font_.reset(CreateFontFor(style_.fontHeight, false, false, style_.fontFace));
    renewed[oldFont.get()] = static_cast<HFONT>(font_.get());
    std::vector<win::UniqueGdiObject> retired;
    for (FontMade& made : extraFonts_) {
        retired.push_back(std::move(made.font));
        made.font.reset(CreateFontFor(made.height96, made.bold, made.underline, made.face));
        renewed[retired.back().get()] = static_cast<HFONT>(made.font.get());
    }
    for (HWND child = GetWindow(hwnd_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const auto found = renewed.find(reinterpret_cast<HGDIOBJ>(SendMessageW(child, WM_GETFONT, 0, 0)));
        if (found != renewed.end()) SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(found->second), FALSE);
    }
    for (const auto& [id, control] : controls_) {
        const Bounds b = control->DesignBounds();
        SetWindowPos(control->Handle(), nullptr, Scale(b.left), Scale(b.top), Scale(b.width), Scale(b.height),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    changingDpi_ = true;
    const win::ScopeExit changed([this] { changingDpi_ = false; });
    ScaleChanged();
    RememberPlacements();
    // No smaller than the design at this scale, which the texts may have
    // widened beyond the suggested size.
    const SIZE frame = FrameSize();
    const int width = std::max<int>(suggested.right - suggested.left, designWidth_ + frame.cx);
    if (minClientWidth_ > 0) minClientWidth_ = std::max(minClientWidth_, designWidth_);
    SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, width, suggested.bottom - suggested.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    // Drawn again whole: the transparent labels show what is beneath them.
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

}  // namespace quenmar::widgets
