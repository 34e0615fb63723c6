#pragma once
// Only one copy of the program runs per user. The first copy waits on a local socket; a later
// copy that finds it asks it to run File > Exit, waits until it has done so, and then ends too,
// so that afterwards no copy runs.
#include <QObject>
#include <QString>

class QLocalServer;

class SecondCopy : public QObject {
    Q_OBJECT

public:
    explicit SecondCopy(QString name, QObject* parent = nullptr);
    ~SecondCopy() override;

    // The name for the settings store in use: one per user, and a separate one for every store
    // a test or a portable installation points the program at.
    static QString defaultName();

    // When a copy waits under the name: tells it to exit, waits (up to timeoutMs) until it has
    // answered, and returns true. Returns false at once when no copy waits there.
    bool askRunningCopyToExit(int timeoutMs = 10000);

    // Starts waiting for later copies; each request makes exitRequested fire once.
    bool listen();
    void stopListening();
    bool isListening() const;

signals:
    void exitRequested();

private:
    void serve();

    QString name_;
    QLocalServer* server_ = nullptr;
};
