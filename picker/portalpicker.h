// Picking through the desktop portal on the session bus. A pick first asks
// for a screenshot of the whole desktop, without the desktop's own
// interface, and shows it frozen with the magnifier and keys of our own
// (TFrozenScreen); where the portal refuses, cancels, does not answer or has
// no such screenshot, it falls back to PickColor, where the desktop shows its
// own picking interface. Each request answers on an object of its own with a
// Response signal.
#pragma once

#include "picker/colorpicker.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDateTime>
#include <QPointer>
#include <QString>

#include <optional>

class QDBusError;
class QDBusPendingCallWatcher;
class QDBusServiceWatcher;
class QScreen;
class QTimer;
class TFrozenScreen;

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
    bool IsActive() const override { return Stage != TStage::Idle; }

    // Whether the session bus has the portal running or can start it. A
    // pick asks it for its Screenshot version first and goes on only from 2.
    static bool IsAvailable();

    // The frozen screen while one is shown, else nullptr.
    TFrozenScreen* Frozen() const;
    // How long the portal may take to answer the screenshot before the pick
    // goes on without it.
    static constexpr int ScreenshotTimeoutMs = 10000;
    void SetScreenshotTimeout(int ms);

private slots:
    void OnResponse(const QDBusMessage& message);

private:
    enum class TStage { Idle, Version, Screenshot, PickColor, Frozen };
    void OnVersionFinished(QDBusPendingCallWatcher* call);
    void OnCallFinished(QDBusPendingCallWatcher* call);
    // Sends the request with a fresh token, listening for its Response first.
    void Ask(TStage stage, QVariantMap options);
    // The screenshot did not come: the desktop's own picking instead.
    void FallBack();
    void OnScreenshot(const QDBusMessage& message);
    void ShowFrozen(const QImage& desktop);
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
    // Asks the portal to take the request under way down.
    void CloseRequest();
    // Stops listening on the request object and forgets it.
    void StopListening();
    // Forgets the pick under way, if any, without a signal.
    void Finish();
    void Fail(const QString& reason);

    QDBusConnection Bus;
    QDBusServiceWatcher* Service = nullptr;
    QDBusPendingCallWatcher* Call = nullptr; // the version asked, then a request
    TStage Stage = TStage::Idle;
    QString ParentId;
    QPointer<QScreen> StartScreen;
    QDateTime AskedAt; // when the screenshot was asked for
    QTimer* ScreenshotTimer = nullptr;
    QPointer<TFrozenScreen> Frozen_;
    QString RequestPath; // the request listened to; empty between requests
    QString PortalOwner; // the unique name that took the request, once it answered
};
