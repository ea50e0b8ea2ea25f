#include "picker/portalpicker.h"

#include <QDBusArgument>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include "picker/frozenscreen.h"
#include "picker/screenshotfile.h"

#include <optional>

namespace {

const QString PortalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString PortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString RequestInterface = QStringLiteral("org.freedesktop.portal.Request");
const QString ResponseSignal = QStringLiteral("Response");
const QString ScreenshotInterface = QStringLiteral("org.freedesktop.portal.Screenshot");

// The availability check runs while the user waits for the window; a bus that
// does not answer must not hold it up for the default 25 seconds.
constexpr int QueryTimeoutMs = 2000;

const QString NoAnswer = QStringLiteral("портал не ответил");
const QString BadAnswer = QStringLiteral("портал вернул неверный ответ");
const QString BadColor = QStringLiteral("портал вернул неверный цвет");

QString ParentWindowId(QWindow* window)
{
    return window ? PortalParentWindow(QGuiApplication::platformName(), window->winId()) : QString();
}

QString CallError(const QDBusError& error)
{
    switch (error.type()) {
    case QDBusError::NoReply:
    case QDBusError::Timeout:
    case QDBusError::TimedOut:
    case QDBusError::Disconnected:
        return NoAnswer;
    default:
        return QStringLiteral("портал сообщил об ошибке (%1)").arg(error.name());
    }
}

struct TOutcome {
    enum { Picked, Cancelled, Failed } Kind;
    TColor Color = 0;
    QString Reason;
};

TOutcome Failure(const QString& reason)
{
    return {TOutcome::Failed, 0, reason};
}

// A channel of 0..1 as a byte; nothing for NaN or a value outside the range.
std::optional<int> Channel(double value)
{
    if (!(value >= 0.0 && value <= 1.0))
        return std::nullopt;
    return Round(value * 255.0);
}

// Response(u response, a{sv} results): 0 with results["color"] = (ddd) is a
// colour, 1 the user's cancel, anything else a failure.
TOutcome ReadResponse(const QDBusMessage& message)
{
    if (message.signature() != QLatin1String("ua{sv}"))
        return Failure(BadAnswer);
    const QList<QVariant> arguments = message.arguments();
    switch (arguments.at(0).toUInt()) {
    case 0:
        break;
    case 1:
        return {TOutcome::Cancelled, 0, {}};
    case 2:
        return Failure(QStringLiteral("портал прервал выбор"));
    default:
        return Failure(BadAnswer);
    }
    const QVariantMap results = qdbus_cast<QVariantMap>(arguments.at(1));
    const auto color = results.constFind(QStringLiteral("color"));
    if (color == results.constEnd())
        return Failure(QStringLiteral("портал не вернул цвет"));
    if (color->userType() != qMetaTypeId<QDBusArgument>())
        return Failure(BadColor);
    const QDBusArgument rgb = color->value<QDBusArgument>();
    if (rgb.currentSignature() != QLatin1String("(ddd)"))
        return Failure(BadColor);
    double r = 0, g = 0, b = 0;
    rgb.beginStructure();
    rgb >> r >> g >> b;
    rgb.endStructure();
    const auto red = Channel(r), green = Channel(g), blue = Channel(b);
    if (!red || !green || !blue)
        return Failure(BadColor);
    return {TOutcome::Picked, RGB(*red, *green, *blue), {}};
}

} // namespace

QString PortalParentWindow(const QString& platform, quintptr windowId)
{
    if (platform != QLatin1String("xcb"))
        return {};
    return QStringLiteral("x11:") + QString::number(windowId, 16);
}

TPortalColorPicker::TPortalColorPicker(QObject* parent) : TColorPicker(parent), Bus(QDBusConnection::sessionBus())
{
    // A portal that leaves the bus after taking the request will never answer.
    Service = new QDBusServiceWatcher(PortalService, Bus, QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(Service, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString&, const QString& oldOwner, const QString&) {
                if (PortalOwner.isEmpty() || oldOwner != PortalOwner)
                    return;
                if (Stage == TStage::Screenshot)
                    FallBack();
                else if (Stage == TStage::PickColor)
                    Fail(NoAnswer);
            });
    ScreenshotTimer = new QTimer(this);
    ScreenshotTimer->setSingleShot(true);
    ScreenshotTimer->setInterval(ScreenshotTimeoutMs);
    connect(ScreenshotTimer, &QTimer::timeout, this, [this] {
        if (Stage == TStage::Screenshot)
            FallBack();
    });
}

TPortalColorPicker::~TPortalColorPicker()
{
    Close();
}

bool TPortalColorPicker::IsAvailable()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    const auto ask = [&bus](const QString& method, const QVariantList& arguments) {
        QDBusMessage call = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"),
                                                           QStringLiteral("/org/freedesktop/DBus"),
                                                           QStringLiteral("org.freedesktop.DBus"), method);
        call.setArguments(arguments);
        const QDBusMessage reply = bus.call(call, QDBus::Block, QueryTimeoutMs);
        return reply.type() == QDBusMessage::ReplyMessage ? reply.arguments().value(0) : QVariant();
    };
    return ask(QStringLiteral("NameHasOwner"), {PortalService}).toBool() ||
           ask(QStringLiteral("ListActivatableNames"), {}).toStringList().contains(PortalService);
}

void TPortalColorPicker::SetScreenshotTimeout(int ms)
{
    ScreenshotTimer->setInterval(ms);
}

TFrozenScreen* TPortalColorPicker::Frozen() const
{
    return Frozen_;
}

void TPortalColorPicker::Start(QWindow* parent)
{
    if (IsActive())
        return;
    if (!Bus.isConnected()) {
        emit Failed(ScreenPickFailure(NoAnswer));
        return;
    }
    Stage = TStage::Version;
    ParentId = ParentWindowId(parent);
    StartScreen = parent ? parent->screen() : nullptr;
    // PickColor came with version 2 of the interface: asked first.
    QDBusMessage get = QDBusMessage::createMethodCall(
        PortalService, PortalPath, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << ScreenshotInterface << QStringLiteral("version");
    Call = new QDBusPendingCallWatcher(Bus.asyncCall(get), this);
    connect(Call, &QDBusPendingCallWatcher::finished, this, &TPortalColorPicker::OnVersionFinished);
    emit Started();
}

void TPortalColorPicker::Ask(TStage stage, QVariantMap options)
{
    // The portal names the request object after our unique name and this
    // token, so the Response is listened for before the call can produce it.
    // The count is shared: pickers on one connection never meet on one path.
    static quint64 requests = 0;
    const QString token = QStringLiteral("huebox%1").arg(++requests);
    QString sender = Bus.baseService();
    if (sender.startsWith(QLatin1Char(':')))
        sender.remove(0, 1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    Stage = stage;
    Listen(PortalPath + QStringLiteral("/request/") + sender + QLatin1Char('/') + token);
    options.insert(QStringLiteral("handle_token"), token);
    QDBusMessage call = QDBusMessage::createMethodCall(PortalService, PortalPath, ScreenshotInterface,
                                                       stage == TStage::Screenshot ? QStringLiteral("Screenshot")
                                                                                   : QStringLiteral("PickColor"));
    call << ParentId << options;
    if (stage == TStage::Screenshot) {
        AskedAt = QDateTime::currentDateTimeUtc();
        ScreenshotTimer->start();
    }
    Call = new QDBusPendingCallWatcher(Bus.asyncCall(call), this);
    connect(Call, &QDBusPendingCallWatcher::finished, this, &TPortalColorPicker::OnCallFinished);
}

void TPortalColorPicker::Cancel()
{
    if (!IsActive())
        return;
    Close();
    emit Cancelled();
}

void TPortalColorPicker::Close()
{
    if (!IsActive())
        return;
    CloseRequest();
    Finish();
}

bool TPortalColorPicker::FailedAsUnavailable(const QDBusError& error)
{
    switch (error.type()) {
    case QDBusError::UnknownMethod:
    case QDBusError::UnknownInterface:
    case QDBusError::UnknownProperty:
    case QDBusError::InvalidArgs:
        break;
    default:
        return false;
    }
    // A portal without a Screenshot implementation behind it, as some
    // desktops have: no way to pick here, not a fault to report.
    FailUnavailable();
    return true;
}

void TPortalColorPicker::FailUnavailable()
{
    Finish();
    emit Failed(ScreenPickUnavailableMessage);
}

std::optional<QDBusMessage> TPortalColorPicker::TakeReply(QDBusPendingCallWatcher* call)
{
    call->deleteLater();
    if (call != Call)
        return std::nullopt;
    Call = nullptr;
    QDBusMessage reply = call->reply();
    if (reply.type() != QDBusMessage::ReplyMessage) {
        // Whatever a screenshot's refusal says, the desktop's own picking may still work.
        if (Stage == TStage::Screenshot)
            FallBack();
        else if (!FailedAsUnavailable(call->error()))
            Fail(CallError(call->error()));
        return std::nullopt;
    }
    return reply;
}

void TPortalColorPicker::OnVersionFinished(QDBusPendingCallWatcher* call)
{
    const std::optional<QDBusMessage> reply = TakeReply(call);
    if (!reply)
        return;
    bool ok = false;
    const uint version =
        reply->arguments().isEmpty() ? 0 : qvariant_cast<QDBusVariant>(reply->arguments().at(0)).variant().toUInt(&ok);
    if (!ok || version < 2) {
        FailUnavailable();
        return;
    }
    // Without the desktop's own interface, so that nothing of it is in the picture.
    Ask(TStage::Screenshot, {{QStringLiteral("interactive"), false}});
}

void TPortalColorPicker::OnCallFinished(QDBusPendingCallWatcher* call)
{
    const std::optional<QDBusMessage> reply = TakeReply(call);
    if (!reply)
        return;
    const QString handle = reply->signature() == QLatin1String("o")
                               ? qvariant_cast<QDBusObjectPath>(reply->arguments().at(0)).path()
                               : QString();
    if (handle.isEmpty()) {
        if (Stage == TStage::Screenshot)
            FallBack();
        else
            Fail(BadAnswer);
        return;
    }
    PortalOwner = reply->service();
    // A portal that does not honour the token answers on another object.
    if (handle != RequestPath) {
        StopListening();
        Listen(handle);
    }
}

void TPortalColorPicker::Listen(const QString& path)
{
    RequestPath = path;
    // A slot taking the whole message receives a Response of any signature,
    // so a malformed one ends the pick instead of being dropped unseen.
    Bus.connect(PortalService, path, RequestInterface, ResponseSignal, this, SLOT(OnResponse(QDBusMessage)));
}

void TPortalColorPicker::CloseRequest()
{
    if (RequestPath.isEmpty())
        return;
    QDBusMessage close =
        QDBusMessage::createMethodCall(PortalService, RequestPath, RequestInterface, QStringLiteral("Close"));
    // Cancelling must not start a portal that is no longer running.
    close.setAutoStartService(false);
    Bus.send(close);
}

void TPortalColorPicker::StopListening()
{
    if (RequestPath.isEmpty())
        return;
    Bus.disconnect(PortalService, RequestPath, RequestInterface, ResponseSignal, this, SLOT(OnResponse(QDBusMessage)));
    RequestPath.clear();
}

void TPortalColorPicker::OnResponse(const QDBusMessage& message)
{
    if (!IsActive() || RequestPath.isEmpty() || message.path() != RequestPath)
        return;
    if (Stage == TStage::Screenshot) {
        OnScreenshot(message);
        return;
    }
    const TOutcome outcome = ReadResponse(message);
    Finish();
    switch (outcome.Kind) {
    case TOutcome::Picked:
        emit Picked(outcome.Color);
        break;
    case TOutcome::Cancelled:
        emit Cancelled();
        break;
    case TOutcome::Failed:
        emit Failed(ScreenPickFailure(outcome.Reason));
        break;
    }
}

void TPortalColorPicker::OnScreenshot(const QDBusMessage& message)
{
    StopListening();
    ScreenshotTimer->stop();
    // Response(u response, a{sv} results): 0 with results["uri"], the file.
    QString uri;
    if (message.signature() == QLatin1String("ua{sv}") && message.arguments().at(0).toUInt() == 0)
        uri = qdbus_cast<QVariantMap>(message.arguments().at(1)).value(QStringLiteral("uri")).toString();
    const std::optional<QImage> desktop = uri.isEmpty() ? std::nullopt : TakeScreenshotFile(uri, AskedAt);
    // Without a screen to show it on, the desktop's own picking.
    if (!desktop || desktop->isNull() || QGuiApplication::screens().isEmpty()) {
        FallBack();
        return;
    }
    ShowFrozen(*desktop);
}

void TPortalColorPicker::FallBack()
{
    ScreenshotTimer->stop();
    CloseRequest();
    StopListening();
    delete Call;
    Call = nullptr;
    PortalOwner.clear();
    Ask(TStage::PickColor, {});
}

void TPortalColorPicker::ShowFrozen(const QImage& desktop)
{
    delete Call;
    Call = nullptr;
    PortalOwner.clear();
    Stage = TStage::Frozen;
    Frozen_ = new TFrozenScreen(desktop, StartScreen ? StartScreen.data() : nullptr, Average, Formatter, this);
    connect(Frozen_, &TFrozenScreen::Hovered, this, &TColorPicker::Hovered);
    connect(Frozen_, &TFrozenScreen::Picked, this, [this](TColor color) {
        Finish();
        emit Picked(color);
    });
    connect(Frozen_, &TFrozenScreen::Cancelled, this, [this] {
        Finish();
        emit Cancelled();
    });
    Frozen_->Show();
}

void TPortalColorPicker::Finish()
{
    if (!IsActive())
        return;
    StopListening();
    ScreenshotTimer->stop();
    delete Call;
    Call = nullptr;
    PortalOwner.clear();
    Stage = TStage::Idle;
    // Its windows go at once; the object, with the desktop's pixels, once
    // the event that ended the pick is over.
    if (Frozen_) {
        Frozen_->Hide();
        Frozen_->deleteLater();
        Frozen_ = nullptr;
    }
}

void TPortalColorPicker::Fail(const QString& reason)
{
    Finish();
    emit Failed(ScreenPickFailure(reason));
}
