// The multi-line text view: what it shows always matches its lines, and a
// line added at the end is appended to the view rather than the whole text
// being set again, which would make filling a list quadratic.

#include <functional>
#include <string>

#include <gtest/gtest.h>
#include <QPlainTextEdit>
#include <QTextDocument>

#include "platform/application.h"
#include "platform/form.h"
#include "platform/memo.h"

namespace kx {
namespace {

class MemoTest : public ::testing::Test {
protected:
    MemoTest() {
        form = new TForm(&app);
        memo = new TMemo(form);
        memo->SetParent(form);
    }

    std::string Shown() const { return memo->Editor()->toPlainText().toStdString(); }

    TApplication app;
    TForm* form = nullptr;
    TMemo* memo = nullptr;
};

struct AppendCase {
    const char* Name;
    std::function<void(TMemo&)> Before;
    std::string Added;
    std::string Expected;  // the whole view afterwards
};

TEST_F(MemoTest, AddedLinesShowBelowTheOthers) {
    const AppendCase cases[] = {
        {"IntoEmpty", [](TMemo&) {}, "one", "one"},
        {"AfterLines",
         [](TMemo& m) {
             m.SetLines({"a", "b"});
         },
         "c", "a\nb\nc"},
        {"AfterOneEmptyLine", [](TMemo& m) { m.SetLines({""}); }, "x", "\nx"},
        {"EmptyLine", [](TMemo& m) { m.SetLines({"a"}); }, "", "a\n"},
        {"AfterClear",
         [](TMemo& m) {
             m.SetText("a\r\nb");
             m.Clear();
         },
         "z", "z"},
        {"HoldingALineBreak", [](TMemo& m) { m.SetLines({"a"}); }, "b\nc", "a\nb\nc"},
        {"AfterTheUserTyped",
         [](TMemo& m) {
             m.SetLines({"a"});
             m.Editor()->setPlainText("typed\nby hand");
         },
         "b", "a\nb"},
    };
    for (const AppendCase& c : cases) {
        SCOPED_TRACE(c.Name);
        memo->Clear();
        c.Before(*memo);
        memo->AddLine(c.Added);
        EXPECT_EQ(Shown(), c.Expected);
        EXPECT_EQ(memo->Lines().back(), c.Added);
    }
}

TEST_F(MemoTest, AddingALineRemovesNothingFromTheView) {
    memo->SetLines({"first", "second", "third"});
    int removed = 0;
    int added = 0;
    QObject::connect(memo->Editor()->document(), &QTextDocument::contentsChange,
                     [&](int, int charsRemoved, int charsAdded) {
                         removed += charsRemoved;
                         added += charsAdded;
                     });
    memo->AddLine("fourth");
    // A paragraph break and the six letters; setting the text again would
    // have removed and re-added all of it.
    EXPECT_EQ(removed, 0);
    EXPECT_EQ(added, 7);
    EXPECT_EQ(Shown(), "first\nsecond\nthird\nfourth");
}

}  // namespace
}  // namespace kx
