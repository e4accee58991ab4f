#include "ui/prompter.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace brumo {

class PrompterTest : public QObject {
    Q_OBJECT

private slots:
    // Help shows the topic and leaves the question open: it is no answer.
    void helpLeavesTheBoxOpen() {
        std::vector<int> opened;
        MessageBoxPrompter prompter([&](int context) { opened.push_back(context); });
        bool stillOpen = false;
        QString shown;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            shown = box->text();
            box->button(QMessageBox::Help)->click();
            QTimer::singleShot(0, [&, box] {
                stillOpen = QApplication::activeModalWidget() == box && box->isVisible();
                box->button(QMessageBox::Yes)->click();
            });
        });
        const PromptAnswer answer = prompter.Ask(
            nullptr, {"First line\r\nSecond line", PromptIcon::Error, PromptButtons::YesNo, 12});
        QCOMPARE(answer, PromptAnswer::Yes);
        QCOMPARE(opened, std::vector<int>{12});
        QVERIFY(stillOpen);
        QCOMPARE(shown, QString("First line\nSecond line"));
    }

    // Enter takes the default answer: No where Yes cannot be undone.
    void enterTakesTheDefaultAnswer() {
        struct Case {
            bool defaultNo;
            PromptAnswer answer;
        };
        for (const Case& c : {Case{false, PromptAnswer::Yes}, Case{true, PromptAnswer::No}}) {
            MessageBoxPrompter prompter;
            QTimer::singleShot(0, [] {
                QWidget* box = QApplication::activeModalWidget();
                QVERIFY(box);
                QTest::keyClick(box, Qt::Key_Return);
            });
            Prompt prompt{"Delete it?", PromptIcon::Warning, PromptButtons::YesNo};
            prompt.defaultNo = c.defaultNo;
            QCOMPARE(prompter.Ask(nullptr, prompt), c.answer);
        }
    }

    void noHelpButtonWithoutATopic() {
        MessageBoxPrompter prompter([](int) {});
        bool hasHelp = true;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            hasHelp = box->button(QMessageBox::Help) != nullptr;
            box->button(QMessageBox::Ok)->click();
        });
        QCOMPARE(prompter.Ask(nullptr, {"Done.", PromptIcon::Information}), PromptAnswer::Ok);
        QVERIFY(!hasHelp);
    }
};

} // namespace brumo

QTEST_MAIN(brumo::PrompterTest)
#include "prompter_test.moc"
