#pragma once

#include <memory>
#include <vector>

#include "platform/graphics.h"
#include "platform/win_control.h"

namespace kx {

class TBoardHighlight;
class TMainMenu;
class TClassRegistry;

// The tour-start message: the board image opens its First circle's popup,
// pinned.
constexpr std::uint32_t WM_STARTTOUR = WM_USER + 162;  // 1186

// The photograph of the board, parent of the highlight circles. It keeps itself
// centred in its window, remembers where the description placed it (the
// circles' popups are placed relative to that), names the circle where the
// guided tour starts and the menu the circles list themselves in.
class TBoardImage : public TCustomPanel {
public:
    KX_CLASS(TBoardImage)

    explicit TBoardImage(TComponent* AOwner);
    ~TBoardImage() override;

    // Not owned; cleared when the circle goes.
    TBoardHighlight* First() const { return m_first; }
    void SetFirst(TBoardHighlight* first);
    // Not owned; cleared when the menu goes.
    TMainMenu* Menu() const { return m_menu; }
    void SetMenu(TMainMenu* menu);
    bool CenterOnForm() const { return m_centerOnForm; }
    void SetCenterOnForm(bool v) { m_centerOnForm = v; }
    bool Scale() const { return m_scale; }
    void SetScale(bool v);
    bool Center() const { return m_center; }
    void SetCenter(bool v);
    bool Stretch() const { return m_stretch; }
    void SetStretch(bool v);
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool v);

    // Owned by the board image; setting copies the given picture.
    TPicture* Picture() const { return m_picture.get(); }
    void SetPicture(const TPicture* picture);

    bool Drawing() const { return m_drawing; }
    double AspectRatio() const { return m_aspectRatio; }
    bool DesignPosKnown() const { return m_designPosKnown; }
    // Where the description placed the board image: its Left and Top at its
    // first paint, before any centring.
    int DesignLeft() const { return m_designLeft; }
    int DesignTop() const { return m_designTop; }

    // The rectangle the picture is drawn into.
    TRect DestRect() const;
    void Paint() override;
    bool CanAutoSize(int& newWidth, int& newHeight) override;
    // The picture's palette, or none.
    void* GetPalette() const;

    void WndProc(TMessage& message) override;

    // Runs on every change of the picture and of the drawing settings.
    void PictureChanged();

    // Keyboard. The board is one focus stop: a focus mark stands on one
    // linked group of circles at a time and the arrow keys move it from group
    // to group in the order of the menus (settings, calibration, options;
    // within each, the order of its entries). Enter or Space opens and pins
    // the marked group's popup as a click does. The groups, each as the
    // circle that speaks for it, in that order:
    std::vector<TBoardHighlight*> FocusGroups() const;
    // A screen reader reads the groups in the same order, which stays put
    // while the circles change places in the child order.
    std::vector<TControl*> AccessibleChildList() const override;
    // The group the mark stands on (its speaking circle), or none. Not owned.
    TBoardHighlight* FocusedGroup() const { return m_focusGroup; }
    // Whether the mark shows: the board has the keyboard focus and the user
    // reached or moved it with the keyboard.
    bool FocusMarkVisible() const;
    // Puts the mark on circle's group and the keyboard focus on the board.
    void FocusGroup(TBoardHighlight* circle);
    bool KeyDown(int qtKey, TShiftState shift) override;
    void FocusChanged(bool focused, bool byKeyboard) override;
    // Draws the focus mark over a circle of width x height in its own
    // canvas: a two-pixel dashed ring in black and white, seen on any part of
    // the photograph.
    static void PaintFocusMark(TCanvas& canvas, int width, int height);

protected:
    void Notification(TComponent* comp, TOperation op) override;

private:
    bool DoPaletteChange();
    // Moves the mark to group (a speaking circle) and tells the screen reader.
    void MoveFocusMark(TBoardHighlight* group);
    void InvalidateGroup(TBoardHighlight* group);

    std::unique_ptr<TPicture> m_picture;
    bool m_stretch = false;
    bool m_center = false;
    bool m_transparent = false;
    bool m_drawing = false;
    double m_aspectRatio = 1.0;
    bool m_scale = true;
    TMainMenu* m_menu = nullptr;
    bool m_centerOnForm = true;
    bool m_designPosKnown = false;
    TBoardHighlight* m_first = nullptr;
    int m_designLeft = 0;
    int m_designTop = 0;
    // Cleared when the circle goes.
    TBoardHighlight* m_focusGroup = nullptr;
    bool m_focusVisible = false;
};

void RegisterBoardImageClass(TClassRegistry& registry);

}  // namespace kx
