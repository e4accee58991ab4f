#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>

#include <memory>

namespace brumo {

// Keeps one running copy of the program per user and program file. The first copy listens
// on a local socket; a later one asks it to come to the front and then ends.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    // The socket's name: the program's name, the user and a digest of the program file, so
    // that two installed copies (each with its own files beside it) do not stand in for
    // each other.
    static QString DefaultName();

    explicit SingleInstance(QString name = DefaultName(), QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this is the first copy (it now listens). False when another copy runs: that
    // one has been asked to restore and raise its window. Starting without protection is
    // better than not starting, so a failure to listen also returns true.
    bool Claim();

    const QString& Name() const { return name_; }

signals:
    // Another start asked this copy to show its window.
    void activationRequested();

private:
    void AskRunningCopy();
    void Accept();

    QString name_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer server_;
};

} // namespace brumo
