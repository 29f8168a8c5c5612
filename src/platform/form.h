#pragma once

#include <functional>

#include <QMargins>
#include <QPointer>

#include "platform/win_control.h"

class QMenuBar;

namespace kx {

class TMainMenu;
class TButton;

enum class TFormBorderStyle : std::uint8_t {
    bsNone,
    bsSingle,
    bsSizeable,
    bsDialog,
    bsToolWindow,
    bsSizeToolWin
};
enum class TFormStyle : std::uint8_t { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
using enum TFormStyle;
enum class TPosition : std::uint8_t {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter
};
using enum TPosition;
enum class TWindowState : std::uint8_t { wsNormal, wsMinimized, wsMaximized };
using enum TWindowState;
enum class TCloseAction : std::uint8_t { caNone, caHide, caFree, caMinimize };
using enum TCloseAction;

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;

class KxFormWindow;

// A top-level window. Left, Top, Width and Height are the outer frame as the
// window system reports it; the client area lies inside the frame, below the
// menu bar.
class TForm : public TCustomControl {
public:
    KX_CLASS(TForm)

    // An empty form, 320 x 240 outer.
    explicit TForm(TComponent* AOwner);
    ~TForm() override;

    QWidget* ClientWidget() const override;
    int ClientWidth() const override;
    int ClientHeight() const override;
    void SetClientSize(int w, int h) override;
    TPoint ClientOrigin() const override;
    bool Showing() const override;

    TFormBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TFormBorderStyle s);
    TFormStyle FormStyle() const { return m_formStyle; }
    void SetFormStyle(TFormStyle s);
    TPosition Position() const { return m_position; }
    void SetPosition(TPosition p) { m_position = p; }
    TWindowState WindowState() const { return m_windowState; }
    void SetWindowState(TWindowState s);
    bool AutoScroll() const { return m_autoScroll; }
    void SetAutoScroll(bool v) { m_autoScroll = v; }
    int PixelsPerInch() const { return m_pixelsPerInch; }
    void SetPixelsPerInch(int v) { m_pixelsPerInch = v; }
    int TextHeight() const { return m_textHeight; }
    void SetTextHeight(int v) { m_textHeight = v; }

    TMainMenu* Menu() const { return m_menu; }
    void SetMenu(TMainMenu* menu);
    QMenuBar* MenuBar() const { return m_menuBar; }

    void SetVisible(bool v) override;
    void SetConstraints(const TSizeConstraints& c) override;
    // Shows the window and brings it to the front, where it becomes active.
    void Show();
    void Hide() { SetVisible(false); }
    // Asks OnClose what to do (hide by default); closing the main window ends
    // the program.
    void Close();
    bool Active() const { return m_active; }
    void SetFocus() override;

    TWinControl* ActiveControl() const { return m_activeControl; }
    void SetActiveControl(TWinControl* c);

    // Makes the client area exactly as large as the bounding box of the
    // visible children, after moving them so that the box starts at the
    // client origin.
    void FitToChildren();

    // The frame the window system puts around the client area (including the
    // menu bar is not part of it).
    QMargins FrameMargins() const;

    // Called once the board description has been applied: raises OnCreate.
    void DoCreate();

    // The buttons that Enter and Esc click: the first showing, enabled
    // button marked Default or Cancel.
    TButton* DefaultButton() const;
    TButton* CancelButton() const;

    TNotifyEvent OnCreate;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TCloseEvent OnClose;

    // Called by the window: the frame moved or changed size, activation came
    // or went, the close box was used, Enter or Esc was pressed.
    void WindowGeometryChanged();
    void WindowActivated(bool active);
    void CloseRequested();
    virtual bool KeyPressed(int qtKey);

protected:
    void WndProc(TMessage& message) override;
    void ApplyGeometry() override;
    void ParentChanged() override {}
    void CaptionChanged() override;
    void Notification(TComponent* comp, TOperation op) override;
    // Activation and deactivation arrive here as WM_ACTIVATE; the default
    // raises OnActivate or OnDeactivate.
    virtual void Activate() {
        if (OnActivate)
            OnActivate(this);
    }
    virtual void Deactivate() {
        if (OnDeactivate)
            OnDeactivate(this);
    }

private:
    void ApplyWindowFlags();
    // Shows the window maximised, minimised or normal, as WindowState says.
    void ShowInState();
    void ApplyMinimumSize();
    void PlaceAtFirstShow();
    int MenuBarHeight() const;
    void LayoutWindow();

    KxFormWindow* m_window = nullptr;
    QWidget* m_client = nullptr;
    QMenuBar* m_menuBar = nullptr;
    TMainMenu* m_menu = nullptr;
    TFormBorderStyle m_borderStyle = TFormBorderStyle::bsSizeable;
    TFormStyle m_formStyle = fsNormal;
    TPosition m_position = poDefaultPosOnly;
    TWindowState m_windowState = wsNormal;
    bool m_autoScroll = true;
    int m_pixelsPerInch = 96;
    int m_textHeight = 13;
    bool m_active = false;
    bool m_shownOnce = false;
    bool m_syncing = false;
    TWinControl* m_activeControl = nullptr;

    friend class KxFormWindow;
};

// The form a control sits on, or nullptr.
TForm* GetParentForm(const TControl* control);

}  // namespace kx
