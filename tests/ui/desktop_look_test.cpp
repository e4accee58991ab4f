// The windows take the desktop's font, size and spacing, and lay out their closing buttons as
// the platform does.

#include "hd_form_fixture.h"
#include "support/drive_map.h"
#include "ui/about_form.h"
#include "ui/comparison_combo.h"
#include "ui/default_form.h"
#include "ui/found_form.h"
#include "ui/held_form.h"
#include "ui/name_form.h"
#include "ui/new_pick_form.h"
#include "ui/prop_form.h"
#include "ui/spec_form.h"
#include "ui/type_wiz.h"
#include "widget_lookup.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTreeWidget>

namespace brumo {

class DesktopLookTest : public QObject, public test::HDFormFixture {
    Q_OBJECT

    std::optional<test::TempTree> c_;
    std::optional<test::DriveMap> drives_;

    // Every window of the program, made anew.
    std::vector<std::pair<const char*, std::function<std::unique_ptr<QWidget>()>>> Windows() {
        return {
            {"main", [this] { return Open(); }},
            {"wizard", [this] { return std::make_unique<TTypeWiz>(nullptr, files_); }},
            {"picker", [] { return std::make_unique<TNewPickForm>(); }},
            {"spec", [] { return std::make_unique<TSpecForm>(); }},
            {"name", [] { return std::make_unique<TNameForm>(); }},
            {"found", [] { return std::make_unique<TFoundForm>(); }},
            {"props", [] { return std::make_unique<TPropForm>(); }},
            {"defaults", [this] { return std::make_unique<TDefaultForm>(*recycle_); }},
            {"held", [] { return std::make_unique<THeldForm>(); }},
            {"about",
             [] { return std::make_unique<TAboutForm>(VersionInfo::OfThisBuild(), nullptr); }},
        };
    }

private slots:
    void init() {
        SetUp();
        c_.emplace();
        drives_.emplace(
            std::initializer_list<std::pair<char, std::filesystem::path>>{{'C', c_->Root()}});
    }
    void cleanup() {
        drives_.reset();
        c_.reset();
        TearDown();
        QApplication::setFont(QFont());
    }

    // A larger desktop font makes every window's text larger, and nothing is cut.
    void everyWindowTakesTheDesktopsFont() {
        QFont desktop = QApplication::font();
        desktop.setPointSizeF(desktop.pointSizeF() * 1.5);
        QApplication::setFont(desktop);
        for (const auto& [name, make] : Windows()) {
            std::unique_ptr<QWidget> window = make();
            window->show();
            QVERIFY(QTest::qWaitForWindowExposed(window.get()));
            for (QWidget* w : window->findChildren<QWidget*>()) {
                if (w->objectName() == "Label1") // the list's heading, larger
                    QVERIFY2(w->font().pointSizeF() > desktop.pointSizeF(), name);
                else if (qobject_cast<QPushButton*>(w) || qobject_cast<QLabel*>(w))
                    QVERIFY2(w->font().family() == desktop.family() &&
                                 w->font().pointSizeF() == desktop.pointSizeF(),
                             qPrintable(QString("%1: %2").arg(name, w->objectName())));
                if (auto* button = qobject_cast<QPushButton*>(w); button && button->isVisible())
                    QVERIFY2(button->width() >= button->sizeHint().width() &&
                                 button->height() >= button->sizeHint().height(),
                             qPrintable(QString("%1: %2").arg(name, w->objectName())));
            }
        }
        // The defaults list leaves air around its names.
        TDefaultForm defaults(*recycle_);
        auto* list = test::Child<QTreeWidget>(&defaults, "lvDefs");
        const QRect row = list->visualItemRect(list->topLevelItem(0));
        QVERIFY(row.height() >= list->fontMetrics().height() * 3 / 2);
    }

    // OK and Cancel stand in the platform's order as its standard buttons; a window of one size
    // offers no maximise button.
    void closingButtonsAreThePlatforms() {
        struct Case {
            std::function<std::unique_ptr<QDialog>()> make;
            bool fixed;
        };
        const std::vector<Case> cases{
            {[] { return std::make_unique<TSpecForm>(); }, true},
            {[] { return std::make_unique<TNameForm>(); }, true},
            {[] { return std::make_unique<TNewPickForm>(); }, false},
            {[this] { return std::make_unique<TDefaultForm>(*recycle_); }, false},
        };
        for (const Case& c : cases) {
            std::unique_ptr<QDialog> dialog = c.make();
            auto* ok = test::Child<QPushButton>(dialog.get(), "btnOK");
            auto* cancel = test::Child<QPushButton>(dialog.get(), "btnCancel");
            auto* box = qobject_cast<QDialogButtonBox*>(ok->parentWidget());
            QVERIFY2(box, dialog->objectName().toLatin1());
            QCOMPARE(box->standardButton(ok), QDialogButtonBox::Ok);
            QCOMPARE(box->standardButton(cancel), QDialogButtonBox::Cancel);
            QCOMPARE(ok->text(), QString("OK"));
            QCOMPARE(cancel->text(), QString("Cancel"));
            QVERIFY(ok->isDefault());
            if (c.fixed) {
                QVERIFY(!(dialog->windowFlags() & Qt::WindowMaximizeButtonHint));
                dialog->show();
                QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
                QCOMPARE(dialog->minimumSize(), dialog->maximumSize());
            }
        }
    }

    // The two list pages of the wizard space their buttons alike, even at its smallest.
    void listPagesSpaceTheirButtonsAlike() {
        TTypeWiz wizard(nullptr, files_);
        wizard.show();
        QVERIFY(QTest::qWaitForWindowExposed(&wizard));
        wizard.resize(wizard.minimumSize());
        auto* pages = test::Child<QStackedWidget>(&wizard, "pcWiz");
        QList<int> steps;
        for (const auto& [page, first, second] :
             {std::tuple{2, "btnDelAdd", "btnDelEdit"}, std::tuple{3, "btnPAdd", "btnPEdit"}}) {
            pages->setCurrentIndex(page);
            QApplication::processEvents();
            auto* a = test::Child<QPushButton>(&wizard, first);
            auto* b = test::Child<QPushButton>(&wizard, second);
            QVERIFY(a->height() >= a->sizeHint().height());
            steps << b->y() - a->y();
        }
        QCOMPARE(steps[0], steps[1]);
    }

    // A closed comparison list shows its choice on its own face, as a plain list beside it
    // does, not on a field of the text colour's background.
    void comparisonListsShowTheirChoiceOnTheBoxFace() {
        ComparisonCombo comparison;
        QComboBox plain;
        for (QComboBox* box : {static_cast<QComboBox*>(&comparison), &plain}) {
            box->addItems({"exactly", "less than", "greater than", "between"});
            box->setCurrentIndex(3);
            box->resize(160, comparison.minimumHeight());
        }
        const QImage shown = comparison.grab().toImage();
        const QImage face = plain.grab().toImage();
        const QPoint corner(QPoint(comparison.width() / 2, 4)); // above the line, beside the text
        QCOMPARE(shown.pixelColor(corner), face.pixelColor(corner));
    }
};

} // namespace brumo

QTEST_MAIN(brumo::DesktopLookTest)
#include "desktop_look_test.moc"
