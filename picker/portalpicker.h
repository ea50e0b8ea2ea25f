// Picking through the desktop portal's Screenshot.PickColor on the session
// bus: the desktop shows its own picking interface and answers on a request
// object with a Response signal.
#pragma once

#include "picker/colorpicker.h"

#include <QDBusConnection>
#include <QString>

class QDBusMessage;
class QDBusPendingCallWatcher;
class QDBusServiceWatcher;

class TPortalColorPicker final : public TColorPicker {
    Q_OBJECT
public:
    explicit TPortalColorPicker(QObject* parent = nullptr);
    ~TPortalColorPicker() override;

    void Start(QWindow* parent = nullptr) override;
    void Cancel() override;
    bool IsActive() const override { return !RequestPath.isEmpty(); }

    // Whether the session bus has the portal running or can start it.
    static bool IsAvailable();

private slots:
    void OnResponse(const QDBusMessage& message);

private:
    void OnCallFinished(QDBusPendingCallWatcher* call);
    void Listen(const QString& path);
    // Asks the portal to take its interface down and forgets the request.
    void Close();
    // Forgets the request under way, if any, without a signal.
    void Finish();
    void Fail(const QString& reason);

    QDBusConnection Bus;
    QDBusServiceWatcher* Service = nullptr;
    QDBusPendingCallWatcher* Call = nullptr;
    QString RequestPath; // empty while no pick is under way
    QString PortalOwner; // the unique name that took the request, once it answered
};
