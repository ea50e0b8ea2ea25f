// Run on a private session bus (dbus-run-session): a stand-in portal on a
// second connection of this process answers the picker's calls.
#include "picker/frozenscreen.h"
#include "picker/portalpicker.h"
#include "tests/picker/checkerboard.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QTimer>
#include <QtTest>

#include <QTemporaryDir>

#include <limits>

#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString PortalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString StandInName = QStringLiteral("stand-in portal");

enum TAnswer { aRespond, aRespondElsewhere, aError, aUnknownMethod, aVanish, aVanishAfterReply, aSilent };
// How the stand-in answers a screenshot: no such method (as before it had
// one), an error, or a Response with the code and the file's URI.
enum TShot { sUnknownMethod, sError, sRespond, sSilent };

QDBusConnection StandInBus()
{
    return QDBusConnection(StandInName);
}

template <class T> QVariant Rgb(T r, T g, T b)
{
    QDBusArgument rgb;
    rgb.beginStructure();
    rgb << r << g << b;
    rgb.endStructure();
    return QVariant::fromValue(rgb);
}

QVariantList Response(uint code, const QVariantMap& results = {})
{
    return {code, results};
}
QVariantList Color(QVariant rgb)
{
    return Response(0, {{QStringLiteral("color"), rgb}});
}

// Waits until everything the stand-in has sent so far has reached the picker.
void Settle()
{
    const QDBusPendingCall ping = StandInBus().asyncCall(
        QDBusMessage::createMethodCall(QDBusConnection::sessionBus().baseService(), QStringLiteral("/"),
                                       QStringLiteral("org.freedesktop.DBus.Peer"), QStringLiteral("Ping")));
    QTRY_VERIFY(ping.isFinished());
    QVERIFY(!ping.isError());
    QCoreApplication::processEvents();
}

// What a picker reported, a line for each signal.
struct TLog {
    explicit TLog(TColorPicker& picker)
    {
        QObject::connect(&picker, &TColorPicker::Started, [this] { Lines << "started"; });
        QObject::connect(&picker, &TColorPicker::Picked, [this](TColor c) {
            Lines << QStringLiteral("picked %1 %2 %3").arg(GetRValue(c)).arg(GetGValue(c)).arg(GetBValue(c));
        });
        QObject::connect(&picker, &TColorPicker::Cancelled, [this] { Lines << "cancelled"; });
        QObject::connect(&picker, &TColorPicker::Failed, [this](const QString& message) { Lines << message; });
    }
    QStringList Lines;
};

} // namespace

// The request object, which the picker closes when it gives up.
class TRequest : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Request")
public:
    int Closes = 0;
public slots:
    void Close() { ++Closes; }
};

// The desktop's side: takes PickColor and answers it as the test sets.
class TStandIn : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Screenshot")
    Q_PROPERTY(uint version MEMBER Version)
public:
    uint Version = 2;
    QStringList Tokens; // of every call
    TAnswer Answer = aRespond;
    QVariantList Arguments; // of the Response signal
    QString Parent;
    QVariantMap Options;
    int Calls = 0;
    TShot Shot = sUnknownMethod;
    uint ShotCode = 0;
    QString ShotUri;
    QVariantMap ShotOptions;

public slots:
    QDBusObjectPath Screenshot(const QString&, const QVariantMap& options, const QDBusMessage& call)
    {
        ShotOptions = options;
        call.setDelayedReply(true);
        if (Shot == sSilent) {
            // Takes the request, and never answers it.
            StandInBus().send(call.createReply(QVariant::fromValue(QDBusObjectPath(QStringLiteral("/silent")))));
            return {};
        }
        if (Shot != sRespond) {
            StandInBus().send(call.createErrorReply(Shot == sError
                                                        ? QStringLiteral("org.freedesktop.portal.Error.Failed")
                                                        : QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod"),
                                                    "no"));
            return {};
        }
        QString sender = call.service().mid(1);
        sender.replace(QLatin1Char('.'), QLatin1Char('_'));
        const QString path = QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2")
                                 .arg(sender, options.value(QStringLiteral("handle_token")).toString());
        StandInBus().send(call.createReply(QVariant::fromValue(QDBusObjectPath(path))));
        QDBusMessage signal = QDBusMessage::createSignal(path, QStringLiteral("org.freedesktop.portal.Request"),
                                                         QStringLiteral("Response"));
        signal.setArguments({ShotCode, QVariantMap{{QStringLiteral("uri"), ShotUri}}});
        StandInBus().send(signal);
        return {};
    }

    QDBusObjectPath PickColor(const QString& parent, const QVariantMap& options, const QDBusMessage& call)
    {
        ++Calls;
        Parent = parent;
        Options = options;
        Tokens << options.value(QStringLiteral("handle_token")).toString();
        QString sender = call.service().mid(1);
        sender.replace(QLatin1Char('.'), QLatin1Char('_'));
        QString path = QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2")
                           .arg(sender, options.value(QStringLiteral("handle_token")).toString());
        switch (Answer) {
        case aRespond:
            // Before the reply, as a quick desktop may: the picker listens already.
            Respond(path);
            break;
        case aRespondElsewhere:
            path = QStringLiteral("/org/freedesktop/portal/desktop/request/elsewhere");
            // Again and again: the picker listens there only once it has the reply.
            QObject::connect(&Repeat, &QTimer::timeout, this, [this, path] { Respond(path); });
            Repeat.start(20);
            break;
        case aError:
        case aUnknownMethod:
            call.setDelayedReply(true);
            StandInBus().send(call.createErrorReply(Answer == aError
                                                        ? QStringLiteral("org.freedesktop.portal.Error.Failed")
                                                        : QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod"),
                                                    "no"));
            break;
        case aVanish:
            call.setDelayedReply(true);
            [[fallthrough]];
        case aVanishAfterReply:
            QTimer::singleShot(0, this, [] { QDBusConnection::disconnectFromBus(StandInName); });
            break;
        case aSilent:
            break;
        }
        StandInBus().unregisterObject(RequestPath);
        StandInBus().registerObject(path, &Request, QDBusConnection::ExportAllSlots);
        RequestPath = path;
        return QDBusObjectPath(path);
    }

public:
    void Respond(const QString& path)
    {
        QDBusMessage signal = QDBusMessage::createSignal(path, QStringLiteral("org.freedesktop.portal.Request"),
                                                         QStringLiteral("Response"));
        signal.setArguments(Arguments);
        StandInBus().send(signal);
    }

    TRequest Request;
    QString RequestPath;
    QTimer Repeat;
};

class TestPortalPicker : public QObject {
    Q_OBJECT
private slots:
    void chosenWhenThePortalIsOnTheBus();
    void init();
    void cleanup() { StandIn.reset(); }
    void answers_data();
    void answers();
    void cancelClosesTheRequest();
    void offeredFromVersion2_data();
    void offeredFromVersion2();
    void offeredWhenTheBusCanStartIt();
    void eachRequestHasItsOwnToken();
    void parentWindow_data();
    void parentWindow();
    void screenshotRefusedFallsBack_data();
    void screenshotRefusedFallsBack();
    void frozenScreenPicks_data();
    void frozenScreenPicks();

private:
    std::unique_ptr<TStandIn> StandIn;
};

void TestPortalPicker::chosenWhenThePortalIsOnTheBus()
{
    QVERIFY(StandInBus().unregisterService(PortalService));
    QVERIFY(!CreateColorPicker(this));
    QVERIFY(StandInBus().registerService(PortalService));
    const std::unique_ptr<TColorPicker> picker(CreateColorPicker());
    QVERIFY(qobject_cast<TPortalColorPicker*>(picker.get()));
}

void TestPortalPicker::init()
{
    StandIn = std::make_unique<TStandIn>();
    QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, StandInName);
    QVERIFY(bus.registerService(PortalService));
    QVERIFY(bus.registerObject(QStringLiteral("/org/freedesktop/portal/desktop"), StandIn.get(),
                               QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllProperties));
}

void TestPortalPicker::answers_data()
{
    const QString noAnswer = QStringLiteral("Не удалось взять цвет с экрана: портал не ответил");
    const QString badAnswer = QStringLiteral("Не удалось взять цвет с экрана: портал вернул неверный ответ");
    const QString badColor = QStringLiteral("Не удалось взять цвет с экрана: портал вернул неверный цвет");
    const QString picked = QStringLiteral("picked 51 102 153");
    const double nan = std::numeric_limits<double>::quiet_NaN();
    QTest::addColumn<int>("answer");
    QTest::addColumn<QVariantList>("response");
    QTest::addColumn<QString>("outcome");
    QTest::newRow("colour") << int(aRespond) << Color(Rgb(0.2, 0.4, 0.6)) << picked;
    QTest::newRow("ends, half to even") << int(aRespond) << Color(Rgb(0.0, 1.0, 0.5)) << "picked 0 255 128";
    QTest::newRow("on another request object") << int(aRespondElsewhere) << Color(Rgb(0.2, 0.4, 0.6)) << picked;
    QTest::newRow("cancelled") << int(aRespond) << Response(1) << "cancelled";
    QTest::newRow("ended otherwise") << int(aRespond) << Response(2)
                                     << "Не удалось взять цвет с экрана: портал прервал выбор";
    QTest::newRow("unknown response") << int(aRespond) << Response(7) << badAnswer;
    QTest::newRow("no colour") << int(aRespond) << Response(0)
                               << "Не удалось взять цвет с экрана: портал не вернул цвет";
    QTest::newRow("integers") << int(aRespond) << Color(Rgb(51, 102, 153)) << badColor;
    QTest::newRow("text") << int(aRespond) << Color(QStringLiteral("#336699")) << badColor;
    QTest::newRow("above 1") << int(aRespond) << Color(Rgb(0.2, 1.5, 0.6)) << badColor;
    QTest::newRow("below 0") << int(aRespond) << Color(Rgb(0.2, 0.4, -0.1)) << badColor;
    QTest::newRow("NaN") << int(aRespond) << Color(Rgb(nan, 0.4, 0.6)) << badColor;
    QTest::newRow("wrong signature") << int(aRespond) << QVariantList{QStringLiteral("0")} << badAnswer;
    QTest::newRow("error reply") << int(aError) << QVariantList()
                                 << "Не удалось взять цвет с экрана: портал сообщил об ошибке "
                                    "(org.freedesktop.portal.Error.Failed)";
    QTest::newRow("no Screenshot behind the portal")
        << int(aUnknownMethod) << QVariantList() << "Взять цвет с экрана здесь нельзя";
    QTest::newRow("gone before replying") << int(aVanish) << QVariantList() << noAnswer;
    QTest::newRow("gone after replying") << int(aVanishAfterReply) << QVariantList() << noAnswer;
}

void TestPortalPicker::answers()
{
    QFETCH(int, answer);
    QFETCH(QVariantList, response);
    QFETCH(QString, outcome);
    StandIn->Answer = TAnswer(answer);
    StandIn->Arguments = response;
    TPortalColorPicker picker;
    const TLog log(picker);
    picker.Start();
    QCOMPARE(log.Lines, QStringList{"started"});
    QTRY_COMPARE(log.Lines.size(), 2);
    // Nothing more follows, not even from a Response that comes again.
    if (StandInBus().isConnected())
        Settle();
    QCOMPARE(log.Lines, (QStringList{"started", outcome}));
    QVERIFY(!picker.IsActive());

    QCOMPARE(StandIn->Calls, 1);
    QCOMPARE(StandIn->Parent, QString());
    QVERIFY(!StandIn->Options.value(QStringLiteral("handle_token")).toString().isEmpty());
}

void TestPortalPicker::cancelClosesTheRequest()
{
    StandIn->Answer = aSilent;
    StandIn->Arguments = Color(Rgb(0.2, 0.4, 0.6));
    TPortalColorPicker picker;
    const TLog log(picker);
    picker.Start();
    QTRY_COMPARE(StandIn->Calls, 1);
    picker.Cancel();
    QVERIFY(!picker.IsActive());
    QTRY_COMPARE(StandIn->Request.Closes, 1);
    // A colour the desktop sends anyway no longer counts.
    StandIn->Respond(StandIn->RequestPath);
    Settle();
    QCOMPARE(log.Lines, (QStringList{"started", "cancelled"}));
}

void TestPortalPicker::offeredFromVersion2_data()
{
    QTest::addColumn<uint>("version");
    QTest::addColumn<bool>("offered");
    QTest::newRow("1, no PickColor yet") << 1u << false;
    QTest::newRow("2") << 2u << true;
    QTest::newRow("4") << 4u << true;
}

void TestPortalPicker::offeredFromVersion2()
{
    QFETCH(uint, version);
    QFETCH(bool, offered);
    StandIn->Version = version;
    StandIn->Arguments = Response(1);
    TPortalColorPicker picker;
    const TLog log(picker);
    picker.Start();
    QTRY_COMPARE(log.Lines.size(), 2);
    QCOMPARE(log.Lines.at(1), offered ? QStringLiteral("cancelled") : ScreenPickUnavailableMessage);
    QCOMPARE(StandIn->Calls, int(offered));
}

void TestPortalPicker::offeredWhenTheBusCanStartIt()
{
    // Only on the bus whose service folder names a portal (session-activatable.conf).
    QVERIFY(StandInBus().unregisterService(PortalService));
    const QStringList activatable = QDBusConnection::sessionBus().interface()->activatableServiceNames();
    if (!activatable.contains(PortalService))
        QSKIP("this bus starts no portal");
    QVERIFY(!QDBusConnection::sessionBus().interface()->isServiceRegistered(PortalService));
    QVERIFY(TPortalColorPicker::IsAvailable());
}

void TestPortalPicker::eachRequestHasItsOwnToken()
{
    StandIn->Arguments = Response(1);
    for (int i = 0; i < 2; ++i) {
        TPortalColorPicker picker;
        const TLog log(picker);
        picker.Start();
        QTRY_COMPARE(log.Lines.size(), 2);
    }
    QCOMPARE(StandIn->Tokens.size(), 2);
    QVERIFY(StandIn->Tokens.at(0) != StandIn->Tokens.at(1));
}

void TestPortalPicker::parentWindow_data()
{
    QTest::addColumn<QString>("platform");
    QTest::addColumn<QString>("parent");
    QTest::newRow("X11") << "xcb"
                         << "x11:3a0000f";
    QTest::newRow("Wayland") << "wayland"
                             << "";
    QTest::newRow("offscreen") << "offscreen"
                               << "";
}

void TestPortalPicker::parentWindow()
{
    QFETCH(QString, platform);
    QTEST(PortalParentWindow(platform, 0x3a0000f), "parent");
}

// A screenshot the desktop would answer with: the screen in grey, the odd
// pixel right of its centre.
QString WriteScreenshot(const QTemporaryDir& dir, const QString& name)
{
    const QSize size = QGuiApplication::primaryScreen()->size();
    QImage image(size, QImage::Format_RGB32);
    image.fill(qRgb(90, 90, 90));
    image.setPixel(size.width() / 2 + 1, size.height() / 2, qRgb(GetRValue(Odd), GetGValue(Odd), GetBValue(Odd)));
    const QString path = dir.filePath(name);
    image.save(path, "PNG");
    return path;
}

void TestPortalPicker::screenshotRefusedFallsBack_data()
{
    QTest::addColumn<int>("shot");
    QTest::addColumn<uint>("code");
    QTest::addColumn<QString>("file"); // what the URI names
    QTest::newRow("no such method") << int(sUnknownMethod) << 0u << "";
    QTest::newRow("an error") << int(sError) << 0u << "";
    QTest::newRow("no answer") << int(sSilent) << 0u << "";
    QTest::newRow("cancelled") << int(sRespond) << 1u << "shot.png";
    QTest::newRow("response 2") << int(sRespond) << 2u << "shot.png";
    QTest::newRow("no file") << int(sRespond) << 0u << "missing.png";
    QTest::newRow("a symbolic link") << int(sRespond) << 0u << "link.png";
    QTest::newRow("older than the request") << int(sRespond) << 0u << "old.png";
    QTest::newRow("not the user's") << int(sRespond) << 0u << "theirs.png";
    QTest::newRow("not a PNG") << int(sRespond) << 0u << "text.png";
}

void TestPortalPicker::screenshotRefusedFallsBack()
{
    QFETCH(int, shot);
    QFETCH(uint, code);
    QFETCH(QString, file);
    QTemporaryDir dir;
    const QString shotPath = WriteScreenshot(dir, QStringLiteral("shot.png"));
    const QString path = dir.filePath(file);
    if (file == QLatin1String("link.png"))
        QVERIFY(QFile::link(shotPath, path));
    if (file == QLatin1String("old.png")) {
        QVERIFY(QFile::copy(shotPath, path));
        QFile old(path);
        QVERIFY(old.open(QIODevice::ReadWrite));
        QVERIFY(old.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-3600), QFileDevice::FileModificationTime));
    }
    if (file == QLatin1String("theirs.png")) {
        if (::geteuid() != 0)
            QSKIP("only root can give a file to another user");
        QVERIFY(QFile::copy(shotPath, path));
        QCOMPARE(::chown(QFile::encodeName(path).constData(), 65534, 65534), 0);
    }
    if (file == QLatin1String("text.png")) {
        QFile text(path);
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("not an image");
    }
    StandIn->Shot = TShot(shot);
    StandIn->ShotCode = code;
    StandIn->ShotUri = QUrl::fromLocalFile(path).toString();
    StandIn->Arguments = Color(Rgb(0.2, 0.4, 0.6));
    TPortalColorPicker picker;
    picker.SetScreenshotTimeout(300);
    const TLog log(picker);
    picker.Start();
    QTRY_COMPARE(log.Lines.size(), 2);
    // The desktop's own picking instead, and nothing more said.
    QCOMPARE(log.Lines, (QStringList{"started", "picked 51 102 153"}));
    QCOMPARE(StandIn->Calls, 1);
    QVERIFY(!picker.Frozen());
    // Without the desktop's interface, each request with its own token.
    if (shot == sRespond) {
        QCOMPARE(StandIn->ShotOptions.value(QStringLiteral("interactive")), QVariant(false));
        QVERIFY(StandIn->ShotOptions.value(QStringLiteral("handle_token")) != StandIn->Tokens.value(0));
    }
    // A file refused is neither read nor removed, nor what a link points
    // to; one that passed and held no image is removed all the same.
    if (file == QLatin1String("shot.png") || file == QLatin1String("missing.png"))
        return;
    QCOMPARE(QFileInfo(path).isSymLink() || QFileInfo::exists(path), file != QLatin1String("text.png"));
    QVERIFY(QFileInfo::exists(shotPath));
}

void TestPortalPicker::frozenScreenPicks_data()
{
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QString>("outcome");
    QTest::newRow("moved onto the odd pixel, Enter")
        << QList<int>{Qt::Key_Right, Qt::Key_Return} << "picked 51 102 204";
    QTest::newRow("Space at the start") << QList<int>{Qt::Key_Space} << "picked 90 90 90";
    QTest::newRow("Escape") << QList<int>{Qt::Key_Right, Qt::Key_Escape} << "cancelled";
}

void TestPortalPicker::frozenScreenPicks()
{
    QFETCH(QList<int>, keys);
    QFETCH(QString, outcome);
    QTemporaryDir dir;
    const QString path = WriteScreenshot(dir, QStringLiteral("shot.png"));
    StandIn->Shot = sRespond;
    StandIn->ShotUri = QUrl::fromLocalFile(path).toString();
    TPortalColorPicker picker;
    const TLog log(picker);
    QSignalSpy hovered(&picker, &TColorPicker::Hovered);
    picker.Start();
    QTRY_VERIFY(picker.Frozen());
    // Read and gone before anything is picked.
    QVERIFY(!QFileInfo::exists(path));
    QPointer<QWindow> window = picker.Frozen()->Window(0);
    QVERIFY(window && QTest::qWaitForWindowExposed(window));
    QCOMPARE(hovered.size(), 1);
    QCOMPARE(hovered.at(0).at(0).value<TColor>(), RGB(90, 90, 90));
    for (int key : keys)
        QTest::keyClick(window.data(), Qt::Key(key));
    QCOMPARE(log.Lines, (QStringList{"started", outcome}));
    QCOMPARE(StandIn->Calls, 0);
    QVERIFY(!picker.IsActive());
    QTRY_VERIFY(!window);
}

QTEST_MAIN(TestPortalPicker)
#include "tst_portalpicker.moc"
