// The Chinese and the English user guide have the same sections in the same order, each
// guide's contents line leads to its sections, and no link inside a guide leads nowhere.

#include <QFile>
#include <QRegularExpression>
#include <QTest>

namespace {

const QString HelpFolder = QStringLiteral(TARNIK_TEST_DATA "/../../docs/help/");

struct Guide
{
    QStringList sections; // the ids of the <h2> headings, in order
    QStringList contents; // the #targets of the contents line, in order
    QStringList links; // every #target linked anywhere
    QStringList ids; // every id
    QList<int> subsections; // the <h3> headings under each <h2>, in order
};

Guide readGuide(const QString &name)
{
    QFile f(HelpFolder + name);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QString html = QString::fromUtf8(f.readAll());
    const auto all = [&html](const QString &pattern, const QString &in = QString()) {
        QStringList found;
        const QRegularExpression re(pattern);
        for (const QRegularExpressionMatch &m : re.globalMatch(in.isNull() ? html : in))
            found << m.captured(1);
        return found;
    };
    Guide g;
    g.sections = all(QStringLiteral("<h2 id=\"([^\"]+)\""));
    // The contents line is the first paragraph holding links.
    const QRegularExpressionMatch contents =
        QRegularExpression(QStringLiteral("<p>[^<]*<a href=\"#.*?</p>")).match(html);
    g.contents = all(QStringLiteral("href=\"#([^\"]+)\""), contents.captured(0));
    g.links = all(QStringLiteral("href=\"#([^\"]+)\""));
    g.ids = all(QStringLiteral("\\bid=\"([^\"]+)\""));
    const QStringList parts = html.split(QStringLiteral("<h2 "));
    for (qsizetype i = 1; i < parts.size(); ++i)
        g.subsections << int(parts[i].count(QStringLiteral("<h3>")));
    return g;
}

} // namespace

class TestHelpGuides : public QObject
{
    Q_OBJECT
private slots:
    void guideHoldsItsSections_data();
    void guideHoldsItsSections();
    void guidesHaveTheSameSections();
};

void TestHelpGuides::guideHoldsItsSections_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("Chinese") << "index.html";
    QTest::newRow("English") << "index.en.html";
}

void TestHelpGuides::guideHoldsItsSections()
{
    QFETCH(QString, file);
    const Guide g = readGuide(file);
    QVERIFY2(!g.sections.isEmpty(), qPrintable(HelpFolder + file));
    QCOMPARE(g.contents, g.sections);
    for (const QString &id : g.ids)
        QVERIFY2(g.ids.count(id) == 1, qPrintable(QStringLiteral("id used twice: ") + id));
    for (const QString &target : g.links)
        QVERIFY2(g.ids.contains(target), qPrintable(QStringLiteral("link to nowhere: #") + target));
    // What a user looks for first.
    for (const char *id :
         {"read", "write", "safewrite", "restore", "compare", "csv", "fleet", "doctor", "undo", "clipboard", "bands"})
        QVERIFY2(g.sections.contains(QLatin1String(id)), id);
}

void TestHelpGuides::guidesHaveTheSameSections()
{
    const Guide english = readGuide(QStringLiteral("index.en.html"));
    const Guide chinese = readGuide(QStringLiteral("index.html"));
    QCOMPARE(english.sections, chinese.sections);
    // A section split into parts in one language is split alike in the other.
    QCOMPARE(english.subsections, chinese.subsections);
}

QTEST_GUILESS_MAIN(TestHelpGuides)
#include "tst_helpguides.moc"
