// The enumerations and sets of every class a stored layout may hold: each
// identifier reads into the property and is written back the same, a set is
// written in the order of its declaration, and an identifier that names no
// value is refused.
#include "app/form1.h"
#include "framework/application.h"
#include "framework/classes.h"

#include <QtTest>

#include <algorithm>
#include <memory>

class TestStoredNames : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InitializeModules(); }
    void identifiersRoundTrip_data();
    void identifiersRoundTrip();
};

void TestStoredNames::identifiersRoundTrip_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("property");
    int rows = 0;
    for (const TClassInfo* cls : ClassRegistry::Classes())
        for (const TPropertyInfo& p : cls->Properties)
            if (p.Enumeration.isValid()) {
                QTest::addRow("%s.%s", qPrintable(cls->ClassName), qPrintable(p.Name)) << cls->ClassName << p.Name;
                ++rows;
            }
    QVERIFY(rows >= 20);
}

void TestStoredNames::identifiersRoundTrip()
{
    QFETCH(QString, className);
    QFETCH(QString, property);
    const TClassInfo* cls = ClassRegistry::Find(className);
    const TPropertyInfo& p = *cls->FindProperty(property);
    // The main window is never made by a reader.
    const std::unique_ptr<QWidget> object(cls->Create ? cls->Create() : new TForm1());

    // The names are the enumeration's own identifiers, in declaration order.
    QStringList declared;
    for (int i = 0; i < p.Enumeration.keyCount(); ++i)
        declared << QLatin1String(p.Enumeration.key(i));
    QVERIFY(!p.Names.isEmpty());
    QStringList kept = declared;
    kept.removeIf([&](const QString& key) { return !p.Names.contains(key); });
    QCOMPARE(p.Names, kept);

    const bool isSet = p.Get(object.get())->Is<TFormSet>();
    const auto stored = [&](const QStringList& names) {
        return isSet ? TFormValue(TFormSet{names}) : TFormValue(TFormIdent{names.value(0)});
    };
    for (const QString& name : p.Names) {
        p.Set(object.get(), stored({name}));
        QCOMPARE(*p.Get(object.get()), stored({name}));
    }
    if (isSet) {
        QStringList reversed = p.Names;
        std::reverse(reversed.begin(), reversed.end());
        p.Set(object.get(), stored(reversed));
        QCOMPARE(*p.Get(object.get()), stored(p.Names));
    }

    QString message;
    try {
        p.Set(object.get(), stored({QStringLiteral("xxBogus")}));
    } catch (const Exception& e) {
        message = e.Message();
    }
    QCOMPARE(message, QStringLiteral("Invalid value 'xxBogus' for %1").arg(property));
}

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    TestStoredNames test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_storednames.moc"
