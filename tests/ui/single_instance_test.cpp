#include "ui/single_instance.h"

#include <QSignalSpy>
#include <QTest>
#include <QUuid>

namespace brumo {

class SingleInstanceTest : public QObject {
    Q_OBJECT

private:
    static QString FreshName() {
        return "brumo-test-" + QUuid::createUuid().toString(QUuid::Id128).left(12);
    }

private slots:
    void secondStartAsksTheFirstAndEnds() {
        const QString name = FreshName();
        SingleInstance first(name);
        QVERIFY(first.Claim());
        QSignalSpy asked(&first, &SingleInstance::activationRequested);

        SingleInstance second(name);
        QVERIFY(!second.Claim());
        QVERIFY(asked.wait(5000));
        QCOMPARE(asked.count(), 1);

        // And again: every later start is answered.
        SingleInstance third(name);
        QVERIFY(!third.Claim());
        QVERIFY(asked.wait(5000));
    }

    void theNameIsFreeAgainOnceTheFirstHasEnded() {
        const QString name = FreshName();
        {
            SingleInstance first(name);
            QVERIFY(first.Claim());
        }
        SingleInstance next(name);
        QVERIFY(next.Claim());
    }
};

} // namespace brumo

QTEST_MAIN(brumo::SingleInstanceTest)
#include "single_instance_test.moc"
