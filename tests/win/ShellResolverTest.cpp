// The shell's answers about places never hold the window up: a question the
// shell takes long over (a share on a server out of reach) keeps its slot
// showing its text while later questions are answered and later edits shown,
// and its answer, when it comes for a value the slot no longer holds, is
// never shown for it.

#include <windows.h>
#include <commctrl.h>
#include <dbt.h>

#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "MainWindowProbe.h"
#include "MemoryRegistry.h"
#include "ModalBoxes.h"
#include "win32/Handles.h"

namespace quenmar::testing {
namespace {

// A shell that answers at once, but about "\\slow\share" only once let.
struct SlowShell {
    win::UniqueHandle let{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    std::atomic<int> slowAsked{0};
    win::ShellResolver::Resolve Resolve() {
        return [this](const PlaceQuery& query) {
            ShellAnswer answer;
            answer.found = true;
            if (query.text == "\\\\slow\\share") {
                ++slowAsked;
                WaitForSingleObject(let.get(), 30000);
                answer.name = "Slow share";
            } else {
                answer.name = "Shell's " + (query.special ? std::to_string(query.csidl) : query.text);
            }
            return answer;
        };
    }
};

TEST(ShellAnswers, ASlowAnswerHoldsNothingUpAndALateOneIsNeverShownForAnotherValue) {
    SlowShell shell;
    {
        MainWindowProbe form(std::make_unique<MemoryRegistry>(), HelpTarget(), shell.Resolve());
        form.Show();
        PumpMessages();
        ASSERT_TRUE(WaitUntil([&] { return ItemText(form.placesList, 0) == "Shell's 34"; }, 10000));
        UserSelect(form.placesList, 0);
        PumpMessages();
        SendMessageW(form.folderKind.Handle(), BM_CLICK, 0, 0);
        SetWindowTextW(form.pathEdit.Handle(), L"\\\\slow\\share");  // as a drop or the picker gives it
        PumpMessages();
        ASSERT_TRUE(WaitUntil([&] { return shell.slowAsked == 1; }, 10000));
        EXPECT_EQ(ItemText(form.placesList, 0), "share") << "its text while the shell is asked";
        // The window goes on: another edit, answered while the first waits.
        SetWindowTextW(form.pathEdit.Handle(), L"C:\\data\\");
        PumpMessages();
        EXPECT_TRUE(WaitUntil([&] { return ItemText(form.placesList, 0) == "Shell's C:\\data\\"; }, 10000))
            << ItemText(form.placesList, 0);
        // The slow answer comes, for a value slot 0 no longer holds.
        SetEvent(shell.let.get());
        ASSERT_TRUE(WaitUntil([&] { return form.Settled(); }, 10000)) << "the slow answer came";
        PumpMessages();
        EXPECT_EQ(ItemText(form.placesList, 0), "Shell's C:\\data\\");
        EXPECT_EQ(form.Editor().Slot(0).path, "C:\\data\\");
    }
    PumpMessages();
}

// Closing while the shell hangs over a question (a share out of reach) ends
// at once: the question is not waited for, and its answer reaches no one.
TEST(ShellAnswers, ClosingWhileTheShellHangsEndsAtOnce) {
    const win::UniqueHandle let(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    // Set when the resolver's last part goes: the answerer, which every
    // question's work holds to its end.
    const win::UniqueHandle allEnded(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    std::atomic<int> asked{0}, answered{0};
    auto resolver = std::make_unique<win::ShellResolver>(
        [&, ends = std::shared_ptr<void>(nullptr, [&](void*) { SetEvent(allEnded.get()); })](const PlaceQuery&) {
        ++asked;
        WaitForSingleObject(let.get(), 5000);
        ++answered;
        return ShellAnswer{true, "late", "", 1, 1};
    });
    const HWND told = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    resolver->Attach(told, WM_APP);
    resolver->Release();
    resolver->AnswerFor({false, 0, "\\\\hung\\share"});
    ASSERT_TRUE(WaitUntil([&] { return asked == 1; }, 5000));
    resolver.reset();
    EXPECT_EQ(answered, 0) << "closed without waiting for the shell";
    SetEvent(let.get());
    ASSERT_EQ(WaitForSingleObject(allEnded.get(), 5000), WAIT_OBJECT_0) << "the question's work ended";
    MSG message;
    EXPECT_FALSE(PeekMessageW(&message, told, WM_APP, WM_APP, PM_REMOVE)) << "the late answer reaches no one";
    DestroyWindow(told);
}

// The window destroyed while the shell still works on a question (the
// session outlives it): the answer that comes reaches no window and is not
// taken in.
TEST(ShellAnswers, AnAnswerAfterTheWindowIsGoneReachesNoOne) {
    const win::UniqueHandle let(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    std::atomic<int> asked{0}, answered{0};
    win::ShellResolver resolver([&](const PlaceQuery&) {
        ++asked;
        WaitForSingleObject(let.get(), 5000);
        ++answered;
        return ShellAnswer{true, "late", "", 1, 1};
    });
    const HWND told = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    resolver.Attach(told, WM_APP);
    resolver.Release();
    resolver.AnswerFor({false, 0, "\\\\slow\\share"});
    ASSERT_TRUE(WaitUntil([&] { return asked == 1; }, 5000));
    resolver.Detach();
    DestroyWindow(told);
    SetEvent(let.get());
    ASSERT_TRUE(WaitUntil([&] { return answered == 1; }, 5000));
    EXPECT_FALSE(WaitUntil([&] { return resolver.TakeAnswers().some; }, 300))
        << "nothing taken in for a window that is gone";
}

// Counts the words a window is told (WM_APP) as it receives them.
LRESULT CALLBACK CountingWordsProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR count) {
    if (message == WM_APP) ++*reinterpret_cast<int*>(count);
    return DefSubclassProc(window, message, wParam, lParam);
}

// Forgotten (a device change, or the window activated again), every answer
// is asked again once and the fresh one taken: a question still out at that
// moment is asked anew, and its late answer never stands for the fresh one.
TEST(ShellAnswers, AfterForgetEachPlaceIsAskedOnceAndOnlyTheFreshAnswerTaken) {
    std::mutex lock;
    std::map<std::string, int> asked;  // by place
    const win::UniqueHandle first(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    const win::UniqueHandle second(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    win::ShellResolver resolver([&](const PlaceQuery& query) {
        int asking = 0;
        {
            const std::lock_guard<std::mutex> guard(lock);
            asking = ++asked[query.text];
        }
        // C:\'s first two askings wait to be let go.
        if (query.text == "C:\\" && asking <= 2) WaitForSingleObject((asking == 1 ? first : second).get(), 30000);
        return ShellAnswer{true, query.text + " answer " + std::to_string(asking), "", 1, 1};
    });
    const auto askedFor = [&](const std::string& place) {
        const std::lock_guard<std::mutex> guard(lock);
        return asked[place];
    };
    const HWND told = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    resolver.Attach(told, WM_APP);
    resolver.Release();
    const std::vector<std::string> places{"C:\\", "D:\\", "\\\\server\\share"};
    // Answers taken as the window takes them: once told (counted as the
    // window receives the word).
    int told_ = 0, seen = 0;
    SetWindowSubclass(told, CountingWordsProc, 1, reinterpret_cast<DWORD_PTR>(&told_));
    const auto toldOfAnswers = [&] {
        const bool came = WaitUntil([&] { return told_ > seen; }, 5000);
        seen = told_;
        return came;
    };
    const auto nameNow = [&](const std::string& place) {
        const ShellAnswer* answer = resolver.AnswerFor({false, 0, place});
        return answer ? answer->name : std::string("none");
    };
    for (const auto& place : places) EXPECT_EQ(nameNow(place), "none");
    ASSERT_TRUE(WaitUntil([&] { return askedFor("C:\\") == 1; }, 5000));
    ASSERT_TRUE(toldOfAnswers());
    ASSERT_TRUE(WaitUntil([&] { resolver.TakeAnswers(); return nameNow("D:\\") != "none" && nameNow("\\\\server\\share") != "none"; }, 5000));
    resolver.Forget();  // while C:\'s first question is out
    for (const auto& place : places) nameNow(place);
    EXPECT_EQ(nameNow("D:\\"), "D:\\ answer 1") << "given until the fresh one comes";
    ASSERT_TRUE(WaitUntil([&] { return askedFor("C:\\") == 2; }, 5000)) << "asked anew";
    // The others answered afresh and taken, the answer from before Forget
    // comes alone, is told, and is not taken.
    ASSERT_TRUE(WaitUntil([&] {
        resolver.TakeAnswers();
        return nameNow("D:\\") == "D:\\ answer 2" && nameNow("\\\\server\\share") == "\\\\server\\share answer 2";
    }, 5000));
    PumpMessages();
    seen = told_;
    SetEvent(first.get());
    ASSERT_TRUE(toldOfAnswers());
    resolver.TakeAnswers();
    EXPECT_EQ(nameNow("C:\\"), "none") << "the answer from before Forget not taken";
    SetEvent(second.get());
    EXPECT_TRUE(WaitUntil([&] { resolver.TakeAnswers(); return nameNow("C:\\") == "C:\\ answer 2"; }, 5000));
    EXPECT_TRUE(WaitUntil([&] { resolver.TakeAnswers(); return !resolver.Pending(); }, 5000));
    for (const auto& place : places) {
        EXPECT_EQ(nameNow(place), place + " answer 2") << "the fresh answer taken";
        EXPECT_EQ(askedFor(place), 2) << place << ": asked once after Forget";
    }
    EXPECT_FALSE(resolver.Pending()) << "nothing more asked";
    resolver.Detach();
    DestroyWindow(told);
}


// The window's side: a drive that comes (or goes), and the window activated
// again, forget the shell's answers; each place and special folder is asked
// once more, and the fresh answer is what the window shows.
TEST(ShellAnswers, ADeviceChangeOrAnActivationAsksEveryPlaceOnceMoreAndShowsTheFreshAnswer) {
    std::mutex lock;
    std::map<PlaceQuery, int> asked;
    const auto resolve = [&](const PlaceQuery& query) {
        const std::lock_guard<std::mutex> guard(lock);
        return ShellAnswer{true, "answer " + std::to_string(++asked[query]), "", 1, 1};
    };
    MainWindowProbe form(std::make_unique<MemoryRegistry>(), HelpTarget(), resolve);
    form.Show();
    PumpMessages();
    ASSERT_TRUE(form.WaitForIcons());
    const std::pair<const char*, UINT> events[] = {{"a drive came", WM_DEVICECHANGE}, {"activated again", WM_ACTIVATE}};
    for (int round = 1; round <= 2; ++round) {
        const auto& [what, message] = events[round - 1];
        SendMessageW(form.Handle(), message, message == WM_DEVICECHANGE ? DBT_DEVICEARRIVAL : WA_ACTIVE, 0);
        ASSERT_TRUE(WaitUntil([&] { return ItemText(form.placesList, 0) == "answer " + std::to_string(round + 1); }, 10000))
            << what << ": " << ItemText(form.placesList, 0);
        ASSERT_TRUE(form.WaitForIcons());
        const std::lock_guard<std::mutex> guard(lock);
        EXPECT_EQ(asked.size(), kSpecialFolders.size()) << "the defaults are special folders";
        for (const auto& [query, times] : asked) EXPECT_EQ(times, round + 1) << what << ": CSIDL " << query.csidl;
    }
}

}  // namespace
}  // namespace quenmar::testing

namespace quenmar::testing {
namespace {

// A place the shell does not find is marked, and the window says why where
// the eye and a screen reader find it, and offers a policy name's folder
// (the click itself is the end-to-end test's).
TEST(ShellAnswers, APlaceLeftOutIsMarkedAndToldToTheEyeAndAScreenReader) {
    const auto resolve = [](const PlaceQuery& query) {
        ShellAnswer answer;
        answer.found = query.special;
        answer.name = query.special ? "Shell's " + std::to_string(query.csidl) : "";
        answer.largeIcon = query.special ? 1 : kNoIcon;
        return answer;
    };
    MainWindowProbe form(std::make_unique<MemoryRegistry>(), HelpTarget(), resolve);
    form.Show();
    PumpMessages();
    ASSERT_TRUE(form.WaitForIcons());
    const int plain = form.placesList.ItemImage(1);
    UserSelect(form.placesList, 1);
    PumpMessages();
    SendMessageW(form.folderKind.Handle(), BM_CLICK, 0, 0);
    SetWindowTextW(form.pathEdit.Handle(), L"MyComputer");
    PumpMessages();
    ASSERT_TRUE(form.WaitForIcons());
    EXPECT_EQ(ItemText(form.placesList, 1), "MyComputer");
    EXPECT_NE(form.placesList.ItemImage(1), plain) << "marked";
    EXPECT_TRUE(form.leftOutNote.Visible());
    EXPECT_FALSE(form.dropHint.Visible());
    EXPECT_EQ(form.leftOutNote.Text(), TextOf(IDS_LEFT_OUT_UNKNOWN_NAME));
    EXPECT_EQ(win::Utf8(AccessibleDescription(form.pathEdit.Handle())), TextOf(IDS_LEFT_OUT_UNKNOWN_NAME));
    EXPECT_EQ(win::Utf8(AccessibleDescription(form.placesList.Handle(), 2)), TextOf(IDS_LEFT_OUT_UNKNOWN_NAME));
    ASSERT_TRUE(form.standInLink.Visible());
    EXPECT_EQ(form.standInLink.Text(), "Use the special folder Shell's 17 instead");
    // Another place selected: the note and its description go.
    UserSelect(form.placesList, 0);
    PumpMessages();
    EXPECT_FALSE(form.leftOutNote.Visible());
    EXPECT_FALSE(form.standInLink.Visible());
    EXPECT_TRUE(form.dropHint.Visible());
    EXPECT_EQ(AccessibleDescription(form.pathEdit.Handle()), L"");
}

}  // namespace
}  // namespace quenmar::testing
