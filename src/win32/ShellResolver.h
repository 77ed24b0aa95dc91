#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <cstdint>
#include <set>

#include "places/ShellAnswers.h"

namespace quenmar::win {

// Asks the shell about places as the common Open dialog does: the program's
// one source of a place's name, icons and existence, drives' included. Each
// question runs on a thread of the system's pool: no answer waits for
// another (a share on an unreachable server can keep the shell many
// seconds), and the window's thread waits for none. Answers are kept by the
// question, so an answer that comes late for a value a slot no longer holds
// is never shown for it.
class ShellResolver {
public:
    using Resolve = std::function<ShellAnswer(const PlaceQuery&)>;

    // Asks the shell itself, unless a test gives its own answerer (which
    // runs on the pool's threads).
    explicit ShellResolver(Resolve resolve = AskShell);
    // Questions not yet started ask nothing and answers still to come are
    // dropped; a question running goes on to its end on its own thread,
    // which tells no one and is not waited for.
    ~ShellResolver();
    ShellResolver(const ShellResolver&) = delete;
    ShellResolver& operator=(const ShellResolver&) = delete;

    // The window told, with this message, when answers have come in.
    void Attach(HWND window, UINT message);
    void Detach();

    // Questions are held until Release (the window's first paint comes
    // first); asked for meanwhile, they are asked then.
    void Release();

    // The shell's answer to the question if it has come; else asked (once)
    // and null.
    const ShellAnswer* AnswerFor(const PlaceQuery& query);
    // Takes in the answers that came, and says what they were about.
    struct Arrived {
        bool some = false;                 // any answer at all
        bool aboutSpecialFolders = false;  // one about a special folder among them
    };
    Arrived TakeAnswers();
    // Whether questions are held or their answers still to come.
    bool Pending() const { return !asked_.empty() || !held_.empty(); }
    // Every answer is asked for again when next wanted (a drive's medium or
    // label, or a folder, may have changed); it is given meanwhile. An answer
    // to a question asked before is never taken for the new one.
    void Forget();
    // Keeps the answers about these places only: those some slot or row
    // still holds.
    void Retain(const std::set<PlaceQuery>& held);

    // The shell's answer, as the common Open dialog finds a place; a place
    // not found has the icons of a folder, as the window shows it.
    static ShellAnswer AskShell(const PlaceQuery& query);

private:
    struct Inbox;
    void Ask(const PlaceQuery& query);

    std::shared_ptr<Inbox> inbox_;
    std::map<PlaceQuery, ShellAnswer> answers_;
    // Each question asked and not yet answered, by the number of its asking:
    // only the answer to its latest asking is taken.
    std::map<PlaceQuery, uint64_t> asked_;
    uint64_t askings_ = 0;
    std::set<PlaceQuery> held_;
    std::set<PlaceQuery> stale_;  // given until asked again and answered
    bool holding_ = true;
};

}  // namespace quenmar::win
