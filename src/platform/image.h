#pragma once

#include <memory>

#include "platform/control.h"
#include "platform/graphics.h"

namespace kx {

// A picture drawn on the parent's surface: at the top-left corner, centred,
// or stretched over the bounds. With AutoSize the image takes the picture's
// size.
class TImage : public TGraphicControl {
public:
    KX_CLASS(TImage)

    explicit TImage(TComponent* AOwner);
    ~TImage() override;

    TPicture* Picture() const { return m_picture.get(); }
    void SetPicture(const TPicture* p) { m_picture->Assign(p); }
    bool Stretch() const { return m_stretch; }
    void SetStretch(bool v);
    bool Center() const { return m_center; }
    void SetCenter(bool v);
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool v);
    void SetAutoSize(bool v) override;
    bool CanAutoSize(int& newWidth, int& newHeight) override;

    void Paint() override;

private:
    void PictureChanged();

    std::unique_ptr<TPicture> m_picture;
    bool m_stretch = false;
    bool m_center = false;
    bool m_transparent = false;
};

}  // namespace kx
