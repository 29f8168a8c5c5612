#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <QImage>

#include "platform/object.h"
#include "platform/types.h"

namespace kx {

class TCanvas;

// Raised for pictures that cannot be read: corrupt, truncated or of an
// unsupported kind. The message says what is wrong.
class EInvalidGraphic : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class TPenStyle : std::uint8_t { psSolid, psClear };
using enum TPenStyle;

struct TPen {
    TColor Color = clBlack;
    TPenStyle Style = psSolid;  // always one logical pixel wide
};

struct TBrush {
    TColor Color = clWhite;  // always solid
};

// Any picture a TPicture can hold.
class TGraphic : public TObject {
public:
    KX_CLASS(TGraphic)

    virtual int Width() const = 0;
    virtual int Height() const = 0;
    bool Empty() const { return Width() <= 0 || Height() <= 0; }

    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool value);
    // Metafiles and icons keep their own transparency; nothing here is one.
    virtual bool KeepsOwnTransparency() const { return false; }

    // Palettes belong to palette-based displays, which this program does not
    // drive: a graphic reports none, and the "palette modified" mark only
    // records what it is told.
    virtual void* Palette() const { return nullptr; }
    bool PaletteModified() const { return m_paletteModified; }
    void SetPaletteModified(bool v) { m_paletteModified = v; }

    // The pixels as 32-bit RGB (QImage::Format_RGB32: blue, green, red, unused).
    virtual const QImage& Image() const = 0;
    virtual std::unique_ptr<TGraphic> Clone() const = 0;

    TNotifyEvent OnChange;

protected:
    void Changed();

private:
    bool m_transparent = false;
    bool m_paletteModified = false;
};

// A 32-bit off-screen picture with its own canvas. Its size is logical; at a
// pixel ratio other than 1 its image holds the device pixels of that size, so
// that what is drawn into it stays sharp on a high-density screen.
class TBitmap : public TGraphic {
public:
    KX_CLASS(TBitmap)

    TBitmap();
    TBitmap(int width, int height);
    ~TBitmap() override;

    int Width() const override { return m_width; }
    int Height() const override { return m_height; }
    void SetWidth(int w) { SetSize(w, Height()); }
    void SetHeight(int h) { SetSize(Width(), h); }
    // Keeps the pixels that still fit; new pixels are black.
    void SetSize(int width, int height);
    // Device pixels per logical pixel; a change keeps the logical size and
    // starts the image afresh in black.
    double PixelRatio() const { return m_ratio; }
    void SetPixelRatio(double ratio);

    TCanvas& Canvas();
    const QImage& Image() const override { return m_image; }
    QImage& MutableImage() { return m_image; }
    std::unique_ptr<TGraphic> Clone() const override;

    // Reads a Windows bitmap (24 bits, bottom-up or top-down rows). Throws
    // EInvalidGraphic on anything it cannot read.
    void LoadFromBMP(const std::vector<unsigned char>& bytes);

private:
    void ResizeImage(int deviceWidth, int deviceHeight);

    QImage m_image;
    std::unique_ptr<TCanvas> m_canvas;
    int m_width = 0;
    int m_height = 0;
    double m_ratio = 1.0;
};

// A JPEG picture, decoded with libjpeg (baseline and progressive).
class TJPEGImage : public TGraphic {
public:
    KX_CLASS(TJPEGImage)

    int Width() const override { return m_image.width(); }
    int Height() const override { return m_image.height(); }
    const QImage& Image() const override { return m_image; }
    std::unique_ptr<TGraphic> Clone() const override;

    // Throws EInvalidGraphic on corrupt or truncated data; never exits.
    void LoadFromBytes(const std::vector<unsigned char>& bytes);

    bool Progressive() const { return m_progressive; }
    int Components() const { return m_components; }
    // Sampling factors of the first component (2, 2 for 4:2:0).
    int HSampling() const { return m_hSampling; }
    int VSampling() const { return m_vSampling; }

private:
    QImage m_image;
    bool m_progressive = false;
    int m_components = 0;
    int m_hSampling = 0;
    int m_vSampling = 0;
};

// What a JPEG file's frame header says about the picture.
struct TJpegInfo {
    int Width = 0;
    int Height = 0;
    int Components = 0;
    // Sampling factors of the first component.
    int HSampling = 0;
    int VSampling = 0;
    bool Progressive = false;
};

// Decodes a whole JPEG file into 32-bit RGB; throws EInvalidGraphic.
QImage DecodeJpeg(const unsigned char* data, std::size_t size);
// The same, also reporting the frame header through info (which may be null).
QImage DecodeJpeg(const unsigned char* data, std::size_t size, TJpegInfo* info);
// Decodes a whole BMP file (24 bits per pixel) into 32-bit RGB; throws EInvalidGraphic.
QImage DecodeBmp(const unsigned char* data, std::size_t size);

// Holds one graphic (or none) and reports every change of it.
class TPicture : public TObject {
public:
    KX_CLASS(TPicture)

    TPicture();
    ~TPicture() override;

    TGraphic* Graphic() const { return m_graphic.get(); }
    // Takes a copy of the graphic (or clears with nullptr).
    void SetGraphic(const TGraphic* graphic);
    void Assign(const TPicture* other);
    int Width() const { return m_graphic ? m_graphic->Width() : 0; }
    int Height() const { return m_graphic ? m_graphic->Height() : 0; }

    // Loads by file content; the kind is told by its first bytes (JPEG or BMP).
    // Throws EInvalidGraphic and leaves the picture unchanged on failure.
    void LoadFromBytes(const std::vector<unsigned char>& bytes);

    TNotifyEvent OnChange;

private:
    void GraphicChanged(TObject* sender);
    void Changed();

    std::unique_ptr<TGraphic> m_graphic;
};

}  // namespace kx
