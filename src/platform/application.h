#pragma once

#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <QMargins>

#include "platform/component.h"
#include "platform/form.h"
#include "platform/types.h"

class QObject;

namespace kx {

class TControl;

using TIdleEvent = std::function<void(TObject* Sender, bool& Done)>;

// Raised when the window system cannot give a resource (a timer, say).
class EOutOfResources : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The screen: its size, and the program's windows.
class TScreen : public TComponent {
public:
    KX_CLASS(TScreen)

    explicit TScreen(TComponent* AOwner);

    // The primary display's full size.
    int Width() const;
    int Height() const;

    int FormCount() const { return static_cast<int>(m_forms.size()); }
    TForm* Forms(int index) const { return m_forms.at(index); }
    const std::vector<TForm*>& FormList() const { return m_forms; }

    // The frame the window system puts around windows of a border style, as
    // last seen on a window of that style, or a typical frame before any was
    // seen.
    QMargins FrameMarginsFor(TFormBorderStyle style) const;
    void LearnFrameMargins(TFormBorderStyle style, const QMargins& m);

    // Test seams: a fixed screen size, and a fixed frame for every window.
    void SetSizeForTesting(int width, int height);
    void SetFrameMarginsForTesting(std::optional<QMargins> margins);
    bool FrameMarginsFixed() const { return m_fixedMargins.has_value(); }

private:
    friend class TForm;
    friend class TApplication;
    void AddForm(TForm* f);
    void RemoveForm(TForm* f);
    void FormActivated(TForm* f);

    std::vector<TForm*> m_forms;            // creation order
    std::vector<TForm*> m_activationOrder;  // most recently active first
    std::optional<TPoint> m_fixedSize;
    std::optional<QMargins> m_fixedMargins;
    QMargins m_learned[6];
    bool m_learnedValid[6] = {};
};

// The application: creates the main window, runs the event loop, raises the
// idle event and tracks the mouse whenever the loop runs out of work, and
// reports errors that escape event handlers.
class TApplication : public TComponent {
public:
    KX_CLASS(TApplication)

    TApplication();
    ~TApplication() override;

    void Initialize() {}
    // Creates a form owned by the application; the first becomes MainForm.
    template <typename T>
    void CreateForm(T*& reference) {
        T* form = new T(this);
        reference = form;
        if (m_mainForm == nullptr) {
            m_mainForm = form;
        }
        form->DoCreate();
    }
    TForm* MainForm() const { return m_mainForm; }
    void SetMainForm(TForm* f) { m_mainForm = f; }
    // Shows the main form and runs the event loop until Terminate; returns the
    // exit code.
    int Run();
    void Terminate();
    bool Terminated() const { return m_terminated; }

    TIdleEvent OnIdle;

    // The program's name as people read it: the caption of the standard error
    // report. Qt's application name is the program's technical name (the
    // window class on X11), so the two are kept apart.
    const std::string& Title() const { return m_title; }
    void SetTitle(const std::string& title) { m_title = title; }

    // The standard error report: a message box with the error's text; the
    // program goes on.
    void HandleException(const std::exception& e);
    void HandleException(const std::string& message);
    // Shows a message box (through the seam in tests) and returns the answer.
    int MessageBox(const std::string& text, const std::string& caption, unsigned flags);

    // The step run whenever the event loop has no more work: OnIdle, then
    // mouse tracking. Returns the Done flag the handler left.
    bool Idle();
    // Sends CM_MOUSELEAVE and CM_MOUSEENTER when the control under the pointer
    // changed since the last time.
    void TrackMouse();
    // The topmost control under a screen point, windowed or not, enabled or
    // not; the window itself over its frame and menu bar.
    TControl* FindControlAt(TPoint screenPos) const;
    TControl* MouseControl() const { return m_mouseControl; }

    TControl* CaptureControl() const { return m_captureControl; }
    void SetCaptureControl(TControl* c) { m_captureControl = c; }

    // The pointer position on the screen.
    TPoint CursorPos() const;

    // Test seams: place the pointer; process every pending event, then run the
    // idle step (repeated while OnIdle asks for more).
    void SetCursorPosForTesting(std::optional<TPoint> pos) { m_cursorOverride = pos; }
    // Test seam: hears every change a control tells screen readers of, also
    // where no screen reader listens (Qt drops the events then).
    std::function<void(TControl* control, TAccessibleChange change)> OnAccessibleChangeForTesting;
    void ProcessMessages();
    void PumpUntilIdle();

    // The control is being destroyed: forget it.
    void ControlDestroyed(TControl* c);

private:
    void HookDispatcher();

    TForm* m_mainForm = nullptr;
    TScreen* m_screen = nullptr;
    bool m_terminated = false;
    bool m_inIdle = false;
    bool m_reportingError = false;
    std::string m_title;
    TControl* m_mouseControl = nullptr;
    TControl* m_captureControl = nullptr;
    std::optional<TPoint> m_cursorOverride;
    QObject* m_hook = nullptr;
};

extern TApplication* Application;
extern TScreen* Screen;

}  // namespace kx
