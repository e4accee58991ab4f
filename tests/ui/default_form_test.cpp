#include "ui/default_form.h"

#include "app/settings_file.h"
#include "model/default_types.h"
#include "recycle_bin_switch.h"
#include "runs/recycle_settings_check.h"
#include "support/temp_tree.h"
#include "ui/widget_placement.h"

#include <QPushButton>
#include <QSplitter>
#include <QTest>
#include <QTextEdit>
#include <QTreeWidget>

#include <optional>

namespace brumo {

class DefaultFormTest : public QObject {
    Q_OBJECT

private:
    std::optional<test::TempTree> dir_;
    test::RecycleBinSwitch recycleBin_;
    std::optional<RecycleSettingsCheck> recycle_;

    std::string Settings() const { return (*dir_ / "Brumo.INI").string(); }
    static QTreeWidget* List(QWidget& form) { return form.findChild<QTreeWidget*>("lvDefs"); }
    static QPushButton* Ok(QWidget& form) { return form.findChild<QPushButton*>("btnOK"); }
    static QString Summary(QWidget& form) {
        return form.findChild<QTextEdit*>("reProps")->toPlainText();
    }

private slots:
    void init() {
        dir_.emplace();
        WidgetPlacement::SetSettingsFile(Settings());
        recycleBin_.unusable = false;
        recycle_.emplace(recycleBin_);
    }

    void opensWithTheFirstTypeSelectedAndOkEnabled() {
        TDefaultForm form(*recycle_);
        QCOMPARE(form.windowTitle(), QString("Brumo - Default junk file types"));
        const auto defaults = DefaultTypes::Build(false);
        QCOMPARE(List(form)->topLevelItemCount(), int(defaults.size()));
        QCOMPARE(List(form)->topLevelItem(0)->text(0), QString("Backup files"));
        QVERIFY(List(form)->topLevelItem(0)->isSelected());
        QVERIFY(Ok(form)->isEnabled());
        QVERIFY(Summary(form).startsWith("Type: Backup files (enabled)"));
        QVERIFY(Summary(form).contains("moving them to the Recycle bin"));
    }

    void okFollowsTheSelectionAndTheCopyIsTheCallers() {
        TDefaultForm form(*recycle_);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTreeWidget* list = List(form);
        list->setCurrentItem(list->topLevelItem(1));
        const QString second = Summary(form);
        QVERIFY(second.startsWith("Type: " + list->topLevelItem(1)->text(0)));

        // A click below the last row leaves no row selected; the summary stays.
        const QRect last = list->visualItemRect(list->topLevelItem(list->topLevelItemCount() - 1));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          QPoint(5, std::min(last.bottom() + 10, list->viewport()->height() - 2)));
        QVERIFY(list->selectedItems().isEmpty());
        QVERIFY(!Ok(form)->isEnabled());
        QCOMPARE(Summary(form), second);
        QVERIFY(form.GetSelectedType() == nullptr);

        list->setCurrentItem(list->topLevelItem(0));
        QVERIFY(Ok(form)->isEnabled());
        auto chosen = form.GetSelectedType();
        QVERIFY(chosen);
        QCOMPARE(chosen->Name, std::string("Backup files"));
        QVERIFY(chosen != form.GetSelectedType()); // a new copy each time
    }

    void defaultsAvoidAnUnusableRecycleBin() {
        recycleBin_.unusable = true;
        TDefaultForm form(*recycle_);
        auto first = form.GetSelectedType();
        QCOMPARE(first->Method, int(MethodHoldingFolder));
        QVERIFY(Summary(form).contains("backing them up to a holding folder"));
    }

    void listWidthIsReadAndKept() {
        {
            TDefaultForm form(*recycle_);
            form.show();
            QVERIFY(QTest::qWaitForWindowExposed(&form));
            QCOMPARE(List(form)->width(), TDefaultForm::DefaultListWidth);
        }
        SettingsFile settings(Settings());
        QCOMPARE(settings.ReadInteger("DefaultForm Settings", "ListWidth", -1),
                 TDefaultForm::DefaultListWidth);
        QVERIFY(!settings.WriteInteger("DefaultForm Settings", "ListWidth", 300));
        {
            TDefaultForm form(*recycle_);
            form.show();
            QVERIFY(QTest::qWaitForWindowExposed(&form));
            QCOMPARE(List(form)->width(), 300);
            // Dragging the splitter changes what is kept.
            auto* splitter = form.findChild<QSplitter*>("Splitter1");
            splitter->setSizes({240, form.width()});
            QCOMPARE(List(form)->width(), 240);
        }
        QCOMPARE(settings.ReadInteger("DefaultForm Settings", "ListWidth", -1), 240);
        // Placement is kept with its size.
        QVERIFY(settings.ReadInteger("DefaultForm Settings", "Right", -1) > 0);
    }
};

} // namespace brumo

QTEST_MAIN(brumo::DefaultFormTest)
#include "default_form_test.moc"
