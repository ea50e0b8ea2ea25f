// Picking through the desktop portal's Screenshot.PickColor on the session
// bus: the desktop shows its own picking interface and answers on a request
// object with a Response signal.
#pragma once

#include "picker/colorpicker.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QString>

#include <optional>

class QDBusError;
class QDBusPendingCallWatcher;
class QDBusServiceWatcher;

// The parent window as the portal reads it: "x11:" and the window's id in
// hexadecimal on X11; nothing elsewhere, where a handle would have to be
// exported first and the portal then shows its interface on its own.
QString PortalParentWindow(const QString& platform, quintptr windowId);

class TPortalColorPicker final : public TColorPicker {
    Q_OBJECT
public:
    explicit TPortalColorPicker(QObject* parent = nullptr);
    ~TPortalColorPicker() override;

    void Start(QWindow* parent = nullptr) override;
    void Cancel() override;
    bool IsActive() const override { return !RequestPath.isEmpty(); }

    // Whether the session bus has the portal running or can start it. A
    // pick asks it for its Screenshot version first and goes on only from 2.
    static bool IsAvailable();

private slots:
    void OnResponse(const QDBusMessage& message);

private:
    void OnVersionFinished(QDBusPendingCallWatcher* call);
    void OnCallFinished(QDBusPendingCallWatcher* call);
    // Ends the pick with ScreenPickUnavailableMessage when the error says the
    // portal has no Screenshot to offer.
    bool FailedAsUnavailable(const QDBusError& error);
    void FailUnavailable();
    // The answer to the call under way; nothing when it is another's, or when
    // it failed (and the pick with it).
    std::optional<QDBusMessage> TakeReply(QDBusPendingCallWatcher* call);
    void Listen(const QString& path);
    // Asks the portal to take its interface down and forgets the request.
    void Close();
    // Forgets the request under way, if any, without a signal.
    void Finish();
    void Fail(const QString& reason);

    QDBusConnection Bus;
    QDBusServiceWatcher* Service = nullptr;
    QDBusPendingCallWatcher* Call = nullptr; // the version asked, then PickColor
    QDBusMessage PickCall;
    QString RequestPath; // empty while no pick is under way
    QString PortalOwner; // the unique name that took the request, once it answered
};
