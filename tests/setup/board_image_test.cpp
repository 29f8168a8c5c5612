#include <gtest/gtest.h>

#include "platform/form.h"
#include "platform/graphics.h"
#include "setup/board_highlight.h"
#include "setup/board_image.h"
#include "support/kx_fixture.h"

namespace kx {
namespace {

using test::AppFixture;

// Counts its paints; otherwise a board image like any other.
class CountingBoardImage : public TBoardImage {
public:
    using TBoardImage::TBoardImage;
    void Paint() override {
        ++paints;
        TBoardImage::Paint();
    }
    int paints = 0;
};

std::unique_ptr<TPicture> SolidPicture(int w, int h, QRgb colour) {
    TBitmap bmp(w, h);
    bmp.MutableImage().fill(colour);
    auto pic = std::make_unique<TPicture>();
    pic->SetGraphic(&bmp);
    return pic;
}

class BoardImageTest : public AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        form = new TForm(&App());
        form->SetColor(clWhite);
        board = new CountingBoardImage(form);
        board->SetParent(form);
    }
    void ShowAt(int outerWidth, int outerHeight) {
        form->SetBounds(0, 0, outerWidth, outerHeight);
        form->Show();
        Pump();
    }
    TForm* form = nullptr;
    CountingBoardImage* board = nullptr;
};

TEST_F(BoardImageTest, ANewBoardImageHasTheDocumentedDefaults) {
    TBoardImage b(nullptr);
    EXPECT_EQ(b.Width(), 105);
    EXPECT_EQ(b.Height(), 105);
    EXPECT_TRUE(b.AutoSize());
    EXPECT_TRUE(b.Scale());
    EXPECT_TRUE(b.CenterOnForm());
    EXPECT_FALSE(b.Stretch());
    EXPECT_FALSE(b.Center());
    EXPECT_FALSE(b.Transparent());
    EXPECT_EQ(b.Menu(), nullptr);
    EXPECT_EQ(b.First(), nullptr);
    EXPECT_DOUBLE_EQ(b.AspectRatio(), 1.0);
    EXPECT_FALSE(b.DesignPosKnown());
    EXPECT_EQ(b.Picture()->Graphic(), nullptr);
}

struct CentreCase {
    const char* name;
    int outerWidth;
    int outerHeight;
    int left;
    int top;
};

class BoardImageCentring : public BoardImageTest, public ::testing::WithParamInterface<CentreCase> {};

TEST_P(BoardImageCentring, TheFirstPaintRecordsTheDesignPositionAndCentresOnTheOuterSize) {
    board->SetAutoSize(false);
    board->SetBounds(200, 32, 600, 536);
    ShowAt(GetParam().outerWidth, GetParam().outerHeight);
    EXPECT_EQ(board->DesignLeft(), 200);
    EXPECT_EQ(board->DesignTop(), 32);
    EXPECT_TRUE(board->DesignPosKnown());
    EXPECT_EQ(board->Left(), GetParam().left);
    EXPECT_EQ(board->Top(), GetParam().top);
}

INSTANTIATE_TEST_SUITE_P(Sizes, BoardImageCentring,
                         ::testing::Values(CentreCase{"Maximised", 1032, 746, 216, 105},
                                           // (595 - 600) / 2 truncates toward zero.
                                           CentreCase{"NarrowerThanTheBoard", 595, 700, -2, 82}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(BoardImageTest, TheDesignPositionIsTakenOnceOnly) {
    board->SetAutoSize(false);
    board->SetBounds(200, 32, 600, 536);
    ShowAt(1032, 746);
    form->SetBounds(0, 0, 900, 700);
    board->Invalidate();
    Pump();
    EXPECT_EQ(board->Left(), (900 - 600) / 2);
    EXPECT_EQ(board->DesignLeft(), 200);
    EXPECT_EQ(board->DesignTop(), 32);
}

TEST_F(BoardImageTest, StartTourWithoutAFirstCircleDoesNothing) {
    EXPECT_EQ(board->Perform(WM_STARTTOUR, 0, 0), 0);
}

TEST_F(BoardImageTest, StartTourEntersClicksAndLeavesTheFirstCircle) {
    auto* circle = new TBoardHighlight(form);
    circle->SetParent(board);
    circle->SetCreatePopup(false);
    int clicks = 0;
    circle->OnClick = [&](TObject*) { ++clicks; };
    board->SetFirst(circle);
    EXPECT_EQ(board->Perform(WM_STARTTOUR, 0, 0), 0);
    EXPECT_TRUE(circle->Lit());
    EXPECT_EQ(clicks, 1);
    delete circle;
    EXPECT_EQ(board->First(), nullptr);
}

TEST_F(BoardImageTest, ASmallPictureIsDrawnAtTheTopLeftAndTheRestShowsThePanelColour) {
    board->SetAutoSize(false);
    board->SetBounds(0, 0, 60, 40);
    board->SetCenterOnForm(false);
    auto pic = SolidPicture(20, 10, qRgb(200, 0, 0));
    board->SetPicture(pic.get());
    EXPECT_FALSE(board->Opaque());
    EXPECT_EQ(board->DestRect(), Bounds(0, 0, 20, 10));
    ShowAt(400, 300);
    const QImage& buffer = board->Render();
    EXPECT_EQ(buffer.pixel(5, 5), qRgb(200, 0, 0));
    const TColor face = ColorToRGB(clBtnFace);
    EXPECT_EQ(buffer.pixel(30, 20), qRgb(GetRValue(face), GetGValue(face), GetBValue(face)));

    board->SetCenter(true);
    EXPECT_EQ(board->DestRect(), Bounds(20, 15, 20, 10));
}

TEST_F(BoardImageTest, AStretchedPictureFillsTheClientAreaAndIsOpaque) {
    board->SetAutoSize(false);
    board->SetBounds(0, 0, 60, 40);
    board->SetCenterOnForm(false);
    auto pic = SolidPicture(20, 10, qRgb(0, 0, 200));
    board->SetPicture(pic.get());
    board->SetStretch(true);
    EXPECT_TRUE(board->Opaque());
    EXPECT_EQ(board->DestRect(), Bounds(0, 0, 60, 40));
    board->SetTransparent(true);
    EXPECT_FALSE(board->Opaque());
    board->SetTransparent(false);
    ShowAt(400, 300);
    EXPECT_EQ(board->Render().pixel(59, 39), qRgb(0, 0, 200));
}

TEST_F(BoardImageTest, AutoSizeFollowsThePictureOnlyWhileOn) {
    auto pic = SolidPicture(30, 15, qRgb(1, 2, 3));
    board->SetPicture(pic.get());
    EXPECT_EQ(board->Width(), 30);
    EXPECT_EQ(board->Height(), 15);
    EXPECT_DOUBLE_EQ(board->AspectRatio(), 0.5);

    board->SetAutoSize(false);
    board->SetBounds(0, 0, 80, 80);
    auto other = SolidPicture(40, 10, qRgb(1, 2, 3));
    board->SetPicture(other.get());
    EXPECT_EQ(board->Width(), 80);
    EXPECT_DOUBLE_EQ(board->AspectRatio(), 0.25);

    // An empty picture leaves the ratio and the size alone.
    board->SetAutoSize(true);
    board->SetBounds(0, 0, 40, 10);
    TPicture empty;
    board->SetPicture(&empty);
    EXPECT_DOUBLE_EQ(board->AspectRatio(), 0.25);
}

TEST_F(BoardImageTest, SettingAnEqualValueDoesNotRepaint) {
    board->SetAutoSize(false);
    board->SetBounds(0, 0, 60, 40);
    ShowAt(400, 300);
    const int before = board->paints;
    board->SetStretch(false);
    board->SetCenter(false);
    board->SetTransparent(false);
    board->SetScale(true);
    Pump();
    EXPECT_EQ(board->paints, before);
    board->SetStretch(true);
    Pump();
    EXPECT_GT(board->paints, before);
}

TEST_F(BoardImageTest, AClickOnTheBoardOutsideEveryCircleOnlyRaisesItsOwnClick) {
    board->SetAutoSize(false);
    board->SetBounds(0, 0, 60, 40);
    ShowAt(400, 300);
    int clicks = 0;
    board->OnClick = [&](TObject*) { ++clicks; };
    const int left = board->Left();
    board->Perform(WM_LBUTTONDOWN, 0, PackPoint(5, 5));
    board->Perform(WM_LBUTTONUP, 0, PackPoint(5, 5));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(board->Left(), left);
}

}  // namespace
}  // namespace kx
