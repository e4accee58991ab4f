#include "ui/legend_form.h"

#include "support/temp_tree.h"
#include "ui/widget_placement.h"

#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <memory>
#include <optional>

namespace brumo {

class LegendFormTest : public QObject {
    Q_OBJECT

private:
    std::optional<test::TempTree> settings_;
    std::unique_ptr<QWidget> owner_;
    TLegendForm* legend_ = nullptr;

    QTreeWidget* List() { return legend_->findChild<QTreeWidget*>("tvLegend"); }

    void ShowLegend() {
        legend_->Toggle();
        QVERIFY(QTest::qWaitForWindowExposed(legend_));
    }

private slots:
    void init() {
        settings_.emplace();
        WidgetPlacement::SetSettingsFile((*settings_ / "brumo.INI").string());
        owner_ = std::make_unique<QWidget>();
        legend_ = new TLegendForm(owner_.get());
    }

    void cleanup() {
        owner_.reset();
        settings_.reset();
    }

    void rowsExplainTheFiveIcons() {
        QCOMPARE(legend_->windowTitle(), QString("Brumo - Folder Icons Legend"));
        QVERIFY(!legend_->isVisible());
        QTreeWidget* list = List();
        const QStringList texts{"Search all subfolders that exist now",
                                "Search all subfolders that exist at clean-up time",
                                "Search no subfolders", "Search some subfolders, not all",
                                "Folder has no subfolders"};
        QCOMPARE(list->topLevelItemCount(), int(texts.size()));
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            QCOMPARE(list->topLevelItem(i)->text(0), texts[i]);
            QVERIFY(!list->topLevelItem(i)->icon(0).isNull());
            QCOMPARE(list->topLevelItem(i)->childCount(), 0);
        }
        // The window is not sizeable.
        QCOMPARE(legend_->minimumSize(), legend_->maximumSize());
    }

    void clickingARowSelectsNothing() {
        ShowLegend();
        QTreeWidget* list = List();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->topLevelItem(2)).center());
        QVERIFY(list->selectedItems().isEmpty());
        list->topLevelItem(3)->setSelected(true);
        QVERIFY(list->selectedItems().isEmpty());
    }

    void okEnterAndEscapeHideIt() {
        ShowLegend();
        QTest::mouseClick(legend_->findChild<QPushButton*>("btnOK"), Qt::LeftButton);
        QVERIFY(!legend_->isVisible());

        ShowLegend();
        QTest::keyClick(legend_, Qt::Key_Escape);
        QVERIFY(!legend_->isVisible());

        ShowLegend();
        QTest::keyClick(legend_, Qt::Key_Return);
        QVERIFY(!legend_->isVisible());

        // Toggling hides a visible legend too.
        ShowLegend();
        legend_->Toggle();
        QVERIFY(!legend_->isVisible());
    }
};

} // namespace brumo

QTEST_MAIN(brumo::LegendFormTest)
#include "legend_form_test.moc"
