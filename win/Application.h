#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace win {

class Form;

// The process's user-interface loop: message pumping with idle-time work,
// short-cut and dialog-key routing to forms, and the list of open forms.
class Application {
public:
    static Application& Instance();

    void SetTitle(std::wstring title) { title_ = std::move(title); }
    const std::wstring& Title() const { return title_; }

    // Runs the loop until `main` is destroyed (or WM_QUIT arrives).
    void Run(Form& main);
    // Pumps one message, or runs the idle work and waits when there is none
    // and `mayWait` (when given) still agrees. Returns false once WM_QUIT
    // was taken from the queue.
    bool HandleMessage(const std::function<bool()>& mayWait = {});
    // Pumps every message already queued, without waiting (tests use it).
    void ProcessMessages();
    // Idle-time work: every open form updates its actions.
    void Idle();

    HWND ActiveWindow() const;

    // Forms register themselves; the list is kept in creation order.
    void AddForm(Form* form);
    void RemoveForm(Form* form);
    const std::vector<Form*>& Forms() const { return forms_; }

    // Told of every form added (true) or removed (false).
    using FormListener = std::function<void(Form*, bool added)>;
    int AddFormListener(FormListener listener);
    void RemoveFormListener(int id);

    // Runs `signalled` on this thread whenever `handle` (a kernel object
    // the caller keeps) is signalled: from the loop's wait, and from
    // ProcessMessages. A manual-reset handle must be reset by it.
    int AddWait(HANDLE handle, std::function<void()> signalled);
    void RemoveWait(int id);

    // Hooks on every message taken from the queue before it is dispatched;
    // a hook that returns true has handled the message.
    using MessageHook = std::function<bool(MSG&)>;
    int AddMessageHook(MessageHook hook);
    void RemoveMessageHook(int id);

private:
    Application() = default;
    bool PreTranslate(MSG& msg);
    void RunWait(size_t index);
    void PollWaits();

    struct Wait {
        int id;
        HANDLE handle;
        std::function<void()> signalled;
    };
    std::vector<Wait> waits_;

    std::wstring title_;
    std::vector<Form*> forms_;
    std::vector<std::pair<int, MessageHook>> hooks_;
    int nextHook_ = 1;
    std::vector<std::pair<int, FormListener>> formListeners_;
};

}  // namespace win
