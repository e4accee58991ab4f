// The type wizard's date, age and size restrictions: what each choice allows, what a type's
// restrictions load as and build back to, and how their controls look.

#include "type_wiz_fixture.h"

#include "ui/comparison_combo.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QDateEdit>
#include <QPainter>
#include <QRadioButton>
#include <QStyleOptionComboBox>

namespace brumo {

using test::TypeOf;

class TypeWizRestrictionsTest : public QObject, test::TypeWizFixture {
    Q_OBJECT

private slots:
    void init() { SetUp(); }
    void cleanup() { TearDown(); }

    void dateBetweenNeedsTwoDifferentDates() {
        Load(TypeOf("Old", {"*.old"}));
        GoTo(2);
        Get<QCheckBox>("ckRstDate")->click();
        QVERIFY(Combo("cbDateType")->isEnabled());
        Expect({true, false, false});
        Choose("cbDateType", 3);
        QVERIFY(Get<QDateEdit>("dpDateDat2")->isEnabled());
        QVERIFY(Label("lblDateAnd")->isEnabled());
        Expect({true, false, false}); // both pickers still show today
        Get<QDateEdit>("dpDateDat2")->setDate(QDate(2026, 1, 1));
        Expect({true, true, true});
        Get<QCheckBox>("ckRstDate")->click();
        QVERIFY(!Get<QDateEdit>("dpDateDat2")->isEnabled());
        QVERIFY(!Combo("cbDateType")->isEnabled());
    }

    void switchingToAgeClearsTheComparison() {
        Load(TypeOf("Old", {"*.old"}));
        GoTo(2);
        Get<QCheckBox>("ckRstDate")->click();
        Choose("cbDateType", 1);
        Expect({true, true, true});
        Get<QRadioButton>("rbAge")->click();
        QCOMPARE(Combo("cbDateType")->currentIndex(), -1);
        QCOMPARE(Combo("cbDateType")->itemText(1), QString("older than"));
        QVERIFY(Combo("cbAgeDat1")->isVisibleTo(wiz_.get()));
        QVERIFY(!Get<QDateEdit>("dpDateDat1")->isVisibleTo(wiz_.get()));
        Expect({true, false, false});
        Choose("cbDateType", 3);
        Choose("cbAgeDat1", 2);
        Choose("cbAgeDat2", 2);
        Expect({true, false, false});
        Choose("cbAgeDat2", 3);
        Expect({true, true, true});
        Choose("cbDateType", 1); // one value: the second age is cleared
        QCOMPARE(Combo("cbAgeDat2")->currentIndex(), -1);
        QVERIFY(!Combo("cbAgeDat2")->isEnabled());
        Choose("cbDateType", 3);
        Choose("cbAgeDat1", 3); // "1 month" and "1 week" is valid; the type holds them in order
        Choose("cbAgeDat2", 2);
        QTest::mouseClick(Button("btnFinish"), Qt::LeftButton);
        const TJunkFileObj& t = wiz_->BuildType();
        QVERIFY(t.AgeRestrict && !t.DateRestrict);
        QCOMPARE(t.Age1, 2);
        QCOMPARE(t.Age2, 3);
    }

    void sizeEditsRefuseAndStripNonDigits() {
        Load(TypeOf("Big", {"*.big"}));
        GoTo(2);
        Get<QCheckBox>("ckRstSize")->click();
        Choose("cbSizeType", 2);
        Choose("cbSizeUnits", 0);
        QLineEdit* size1 = Edit("ebSizeDat1");
        QTest::keyClicks(size1, "12a3");
        QCOMPARE(size1->text(), QString("123"));
        Expect({true, true, true});
        size1->clear();
        size1->insert("1,024"); // as a paste arrives
        QCOMPARE(size1->text(), QString("1024"));
        QCOMPARE(size1->cursorPosition(), 4);
        size1->setText("2147483648");
        Expect({true, false, false});
        size1->setText("2147483647");
        Expect({true, true, true});

        Choose("cbSizeType", 3);
        QVERIFY(Edit("ebSizeDat2")->isEnabled());
        size1->setText("10");
        Expect({true, false, false});
        Edit("ebSizeDat2")->setText("10");
        Expect({true, false, false});
        Edit("ebSizeDat2")->setText("010");
        Expect({true, true, true});
        const TJunkFileObj& t = wiz_->BuildType();
        QCOMPARE(t.Size1, 10);
        QCOMPARE(t.Size2, 10);
        Choose("cbSizeType", 0); // one value: the second size is emptied
        QCOMPARE(Edit("ebSizeDat2")->text(), QString());
        QVERIFY(!Edit("ebSizeDat2")->isEnabled());
    }

    void beforeDateRestrictionLoaded() {
        TJunkFileObj t = TypeOf("Dated", {"*.log"});
        t.DateRestrict = true;
        t.DateCompare = 1;
        t.Date1 = *DateTime::EncodeDate(2024, 3, 5);
        t.Date2 = *DateTime::EncodeDate(2025, 1, 2);
        Load(t);
        QVERIFY(Get<QCheckBox>("ckRstDate")->isChecked());
        QVERIFY(Get<QRadioButton>("rbDate")->isChecked());
        QCOMPARE(Combo("cbDateType")->currentText(), QString("before"));
        QCOMPARE(Get<QDateEdit>("dpDateDat1")->date(), QDate(2024, 3, 5));
        QCOMPARE(Get<QDateEdit>("dpDateDat2")->date(), QDate(2025, 1, 2));
        QVERIFY(Get<QDateEdit>("dpDateDat1")->isEnabled());
        QVERIFY(!Get<QDateEdit>("dpDateDat2")->isEnabled());
        Expect({false, true, true});
        const TJunkFileObj& built = wiz_->BuildType();
        QVERIFY(built.DateRestrict && !built.AgeRestrict);
        QCOMPARE(built.DateCompare, 1);
        QCOMPARE(built.Date1, t.Date1);
        QCOMPARE(built.Date2, t.Date2);
    }

    void everyRestrictionRoundTrips() {
        TJunkFileObj t = TypeOf("All", {"*.a", "*.b"}, {{"C:\\X", SubfoldersOnly}});
        t.Name = std::string(40, 'n'); // longer than can be typed, kept as it is
        t.Enabled = false;
        t.Method = MethodHoldingFolder;
        t.Protects = {"C:\\keep.a", "keep*.*"};
        t.AgeRestrict = true;
        t.AgeCompare = 4;
        t.Age1 = 1;
        t.Age2 = 5;
        t.SizeRestrict = true;
        t.SizeCompare = 3;
        t.Size1 = 100;
        t.Size2 = 500;
        t.SizeUnits = 2;
        t.Date1 = t.Date2 = *DateTime::EncodeDate(2026, 12, 7); // the pickers' day
        Load(t);
        QVERIFY(Get<QRadioButton>("rbBackup")->isChecked());
        QCOMPARE(Combo("cbDateType")->currentText(), QString("not between"));
        QCOMPARE(Edit("ebSizeDat2")->text(), QString("500"));
        TJunkFileObj expected = t;
        expected.DateCompare = t.AgeCompare; // one comparison list serves date and age
        QCOMPARE(wiz_->BuildType(), expected);
    }

    void restrictionControlsLookAlike() {
        Load(TypeOf("Look", {"*.a"}));
        GoTo(2);
        auto redPixels = [](QWidget* w) {
            const QImage image = w->grab().toImage();
            int count = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x) {
                    const QColor c = image.pixelColor(x, y);
                    count += c.red() > 200 && c.green() < 80 && c.blue() < 80 ? 1 : 0;
                }
            return count;
        };
        // A disabled comparison list greys its pictogram.
        auto* size = Get<QCheckBox>("ckRstSize");
        QTest::mouseClick(size, Qt::LeftButton, {}, QPoint(8, size->height() / 2));
        QVERIFY(Combo("cbSizeType")->isEnabled());
        Choose("cbSizeType", 3);
        QVERIFY(redPixels(Combo("cbSizeType")) > 0);
        QTest::mouseClick(size, Qt::LeftButton, {}, QPoint(8, size->height() / 2));
        QVERIFY(!Combo("cbSizeType")->isEnabled());
        QCOMPARE(redPixels(Combo("cbSizeType")), 0);

        // The age lists drop down with the comparison lists' rows.
        auto* date = Get<QCheckBox>("ckRstDate");
        QTest::mouseClick(date, Qt::LeftButton, {}, QPoint(8, date->height() / 2));
        auto rowHeight = [](QComboBox* combo) {
            combo->setFocus();
            QTest::keyClick(combo, Qt::Key_F4);
            QAbstractItemView* popup = combo->view();
            [&] { QTRY_VERIFY(popup->isVisible()); }();
            const int height = popup->visualRect(popup->model()->index(0, 0)).height();
            QTest::keyClick(popup, Qt::Key_Escape);
            return height;
        };
        const int comparisonRow = rowHeight(Combo("cbDateType"));
        QTest::mouseClick(Get<QRadioButton>("rbAge"), Qt::LeftButton);
        QCOMPARE(rowHeight(Combo("cbAgeDat1")), comparisonRow);

        // The date leaves room before the picker's arrow.
        QTest::mouseClick(Get<QRadioButton>("rbDate"), Qt::LeftButton);
        auto* picker = Get<QDateEdit>("dpDateDat1");
        QStyleOptionComboBox option; // as the picker draws itself with a calendar
        option.initFrom(picker);
        option.editable = true;
        option.subControls = QStyle::SC_All;
        const QRect arrow = picker->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                            QStyle::SC_ComboBoxArrow, picker);
        auto* text = picker->findChild<QLineEdit*>();
        const int textEnd =
            text->geometry().left() + 2 + text->fontMetrics().horizontalAdvance(text->text());
        QVERIFY2(arrow.left() - textEnd >= 4, qPrintable(QString::number(arrow.left() - textEnd)));
    }

    void comparisonPictograms() {
        const QRect rect(0, 0, 100, 18);
        const int c = (0 + 100 - 4) / 2, f = 100 / 4, bottom = 18;
        auto draw = [&](int index) {
            QImage image(rect.size(), QImage::Format_RGB32);
            image.fill(Qt::white);
            QPainter p(&image);
            QPalette palette;
            palette.setColor(QPalette::Base, Qt::white);
            ComparisonCombo::DrawItem(p, rect, index, "", false, palette, QFont());
            return image;
        };
        auto red = [](const QImage& image, int x, int y) {
            return image.pixelColor(x, y) == QColor(Qt::red);
        };
        const QImage exactly = draw(0), less = draw(1), between = draw(3), outside = draw(4);
        QVERIFY(red(exactly, c + 1, bottom - 4)); // solid centre
        QVERIFY(!red(less, c + 1, bottom - 4));   // open centre
        QVERIFY(red(less, c, bottom - 5));
        auto thick = [&](const QImage& image, int x) {
            int rows = 0;
            for (int y = bottom - 5; y < bottom; ++y)
                rows += red(image, x, y) ? 1 : 0;
            return rows == 2;
        };
        QVERIFY(thick(less, 10));                            // to the left
        QVERIFY(!thick(exactly, 10) && !thick(exactly, 11)); // dotted
        QVERIFY(red(between, c - f + 1, bottom - 4));
        QVERIFY(!red(between, c + f + 1, bottom - 4));
        QVERIFY(!red(outside, c - f + 1, bottom - 4));
        QVERIFY(red(outside, c + f + 1, bottom - 4));
        QVERIFY(thick(outside, 95)); // to the right
    }
};

} // namespace brumo

QTEST_MAIN(brumo::TypeWizRestrictionsTest)
#include "type_wiz_restrictions_test.moc"
