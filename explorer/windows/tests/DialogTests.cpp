#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

#include "ExplorerFixture.h"
#include "windows/frmFont.h"
#include "windows/frmTitle.h"

namespace tess::explorer {
namespace {

void press(QWidget* w, int key) {
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, key == Qt::Key_Return ? "\r" : "");
    QCoreApplication::sendEvent(w, &down);
}

TEST(TitleDialog, OpensOnTheRowsTitleWithOKOffUntilANewTitleIsTyped) {
    frmTitle d(nullptr, "Image1.html", "Old Title");
    EXPECT_EQ(d.windowTitle(), "Modify Mosaic Title");
    EXPECT_EQ(d.Label1->text(), "Please create or modify the title for \"Image1.html\" below...");
    EXPECT_EQ(d.Text2->text(), "Old Title");
    EXPECT_EQ(d.Text1->text(), "Old Title");
    EXPECT_EQ(d.Text1->selectedText(), "Old Title");
    EXPECT_FALSE(d.Command1->isEnabled());
    // Enter with the old title does nothing.
    press(d.Text1, Qt::Key_Return);
    EXPECT_FALSE(d.newTitle());

    struct Case {
        const char* typed;
        bool ok;
    };
    const Case cases[] = {
        {"", false},         {"Old Title", false},  {"old title", true},
        {"A & B < C", true}, {"x</title>y", false}, {"New", true},
    };
    for (const Case& c : cases) {
        d.Text1->setText(QString::fromUtf8(c.typed));
        EXPECT_EQ(d.Command1->isEnabled(), c.ok) << c.typed;
    }
    press(d.Text1, Qt::Key_Return);
    ASSERT_TRUE(d.newTitle());
    EXPECT_EQ(*d.newTitle(), "New");
}

TEST(TitleDialog, TypingGoesIntoTheNewTitleReplacingIt) {
    frmTitle d(nullptr, "Image1.html", "Old Title");
    d.show();
    QCoreApplication::processEvents();
    ASSERT_EQ(d.focusWidget(), d.Text1);
    EXPECT_EQ(d.Text1->selectedText(), "Old Title");
    QKeyEvent key(QEvent::KeyPress, Qt::Key_N, Qt::NoModifier, "N");
    QCoreApplication::sendEvent(d.focusWidget(), &key);
    EXPECT_EQ(d.Text1->text(), "N");
    EXPECT_EQ(d.Text2->text(), "Old Title");
    EXPECT_TRUE(d.Command1->isEnabled());
}

TEST(TitleDialog, ATitleThePageCannotHoldIsRefusedWithTheReason) {
    frmTitle d(nullptr, "Image1.html", "Old Title");
    EXPECT_TRUE(d.Label4->text().isEmpty());
    struct Case {
        const char* typed;
        const char* said;  // in the dialog, beside the disabled OK
    };
    const Case cases[] = {
        {"\xE6\x97\xA5\xE6\x9C\xAC x",
         "The page's code page (Windows-1252) cannot hold \"\xE6\x97\xA5\xE6\x9C\xAC\"."},
        {"x</title>y", "The title holds \"</title>\"."},
    };
    for (const Case& c : cases) {
        d.Text1->setText(QString::fromUtf8(c.typed));
        EXPECT_FALSE(d.Command1->isEnabled()) << c.typed;
        EXPECT_EQ(d.Label4->text().toStdString(), c.said);
    }
    // What Windows-1252 holds is taken, and the reason goes.
    d.Text1->setText(QString::fromUtf8("Caf\xC3\xA9 \xE2\x82\xAC"));
    EXPECT_TRUE(d.Command1->isEnabled());
    EXPECT_TRUE(d.Label4->text().isEmpty());
}

TEST(TitleDialog, CancelGivesNoTitle) {
    frmTitle d(nullptr, "a.html", "T");
    d.Text1->setText("U");
    d.Command2->click();
    EXPECT_FALSE(d.newTitle());
}

class FontDialog : public ::testing::Test {
  protected:
    void choose(frmFont& d, int index) {
        d.Combo1->setCurrentIndex(index);
        d.Combo1_Click();
    }
    ExplorerState state;
};

TEST_F(FontDialog, OpensAtMinusOneWhateverTheRowHolds) {
    state.CSSSize = 12;
    state.CSSUnit = "px";
    frmFont d(nullptr, state, "Image1.html", "CSS - 30%");
    EXPECT_EQ(d.windowTitle(), "Modify Selected Font Size");
    EXPECT_EQ(d.Label1->text(), "Please select the font size for \"Image1.html\" below...");
    EXPECT_EQ(d.Label2->text(), "Current font size: CSS - 30%");
    ASSERT_EQ(d.Combo1->count(), 9);
    EXPECT_EQ(d.Combo1->itemText(8), "CSS - Custom...");
    EXPECT_EQ(d.Combo1->currentIndex(), 0);
    EXPECT_EQ(state.CSSSize, 60);
    EXPECT_EQ(state.CSSUnit, "%");
    d.Command1->click();
    EXPECT_TRUE(d.okPressed());
    EXPECT_EQ(d.rowText().value_or(""), "-1");
}

TEST_F(FontDialog, EveryFixedEntryIsItsOwnRowText) {
    for (int i = 0; i < 8; ++i) {
        frmFont d(nullptr, state, "a.html", "-1");
        choose(d, i);
        EXPECT_TRUE(d.Picture2->isHidden());
        d.Command1_Click();
        EXPECT_EQ(d.rowText().value_or(""), d.Combo1->itemText(i).toStdString());
    }
}

TEST_F(FontDialog, TheCustomPaneSetsSizeAndUnit) {
    struct Case {
        const char* what;
        int spin;                      // -1 leaves the spin alone
        QRadioButton* frmFont::*unit;  // null leaves the unit alone
        bool apply;                    // the pane's OK (else its Cancel)
        const char* entry;             // the list's last entry afterwards
        const char* row;
    };
    const Case cases[] = {
        {"75px applied", 75, &frmFont::Option2b, true, "CSS - Custom... (75px)", "CSS - 75px"},
        {"cancelled untouched", -1, nullptr, false, "CSS - Custom...", "CSS - 60%"},
        {"unit kept after cancel", -1, &frmFont::Option3b, false, "CSS - Custom...", "CSS - 60pt"},
        {"lower end", 0, nullptr, true, "CSS - Custom... (0%)", "CSS - 0%"},
        {"upper end", 100, nullptr, true, "CSS - Custom... (100%)", "CSS - 100%"},
    };
    for (const Case& c : cases) {
        frmFont d(nullptr, state, "a.html", "-1");
        choose(d, 8);
        EXPECT_FALSE(d.Picture2->isHidden()) << c.what;
        EXPECT_TRUE(d.Picture1->isHidden()) << c.what;
        EXPECT_EQ(d.Text1b->text(), "60%") << c.what;
        EXPECT_TRUE(d.Option1b->isChecked()) << c.what;
        if (c.spin >= 0)
            d.setSpinValue(c.spin);
        if (c.unit)
            (d.*c.unit)->click();
        if (c.apply) {
            d.Command1b->click();
        } else {
            d.Command2b->click();
        }
        EXPECT_TRUE(d.Picture2->isHidden()) << c.what;
        EXPECT_FALSE(d.Picture1->isHidden()) << c.what;
        EXPECT_EQ(d.Combo1->count(), 9) << c.what;
        EXPECT_EQ(d.Combo1->itemText(8).toStdString(), c.entry) << c.what;
        EXPECT_EQ(d.Combo1->currentIndex(), 8) << c.what;
        d.Command1->click();
        EXPECT_EQ(d.rowText().value_or(""), c.row) << c.what;
    }
}

TEST_F(FontDialog, TheSpinShowsItsValueWithTheUnit) {
    frmFont d(nullptr, state, "a.html", "-1");
    choose(d, 8);
    d.setSpinValue(61);
    EXPECT_EQ(d.Text1b->text(), "61%");
    // The upper arrow raises the value.
    d.VScroll1b->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(d.spinValue(), 62);
    d.Option2b->click();
    EXPECT_EQ(d.Text1b->text(), "62px");
    EXPECT_EQ(state.CSSUnit, "px");
    // A second apply leaves nine entries, the last one with the second value.
    d.Command1b->click();
    choose(d, 8);
    d.setSpinValue(10);
    d.Command1b->click();
    EXPECT_EQ(d.Combo1->count(), 9);
    EXPECT_EQ(d.Combo1->itemText(8), "CSS - Custom... (10px)");
}

TEST_F(FontDialog, EnterAndEscape) {
    {
        // Enter in the list is OK.
        frmFont d(nullptr, state, "a.html", "-1");
        choose(d, 3);
        press(d.Combo1, Qt::Key_Return);
        EXPECT_EQ(d.rowText().value_or(""), "CSS - 50%");
    }
    {
        // Enter on the spin applies the custom size; Escape does nothing.
        frmFont d(nullptr, state, "a.html", "-1");
        choose(d, 8);
        d.setSpinValue(33);
        press(d.VScroll1b, Qt::Key_Return);
        EXPECT_EQ(d.Combo1->itemText(8), "CSS - Custom... (33%)");
        EXPECT_TRUE(d.Picture2->isHidden());
        d.show();
        press(&d, Qt::Key_Escape);
        EXPECT_TRUE(d.isVisible());
        EXPECT_FALSE(d.okPressed());
        d.Command2->click();
        EXPECT_FALSE(d.isVisible());
        EXPECT_FALSE(d.okPressed());
    }
}

TEST_F(FontDialog, ASecondOpeningStartsAfresh) {
    {
        frmFont d(nullptr, state, "a.html", "-1");
        choose(d, 8);
        d.setSpinValue(12);
        d.Option2b->click();
        d.Command1b->click();
    }
    EXPECT_EQ(state.CSSSize, 12);
    EXPECT_EQ(state.CSSUnit, "px");
    frmFont d(nullptr, state, "a.html", "-1");
    EXPECT_EQ(d.Combo1->currentIndex(), 0);
    EXPECT_EQ(d.Combo1->itemText(8), "CSS - Custom...");
    EXPECT_EQ(state.CSSSize, 60);
    EXPECT_EQ(state.CSSUnit, "%");
}

}  // namespace
}  // namespace tess::explorer
