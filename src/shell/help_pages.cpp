#include "shell/help_pages.h"

#include <QFile>
#include <QRegularExpression>

namespace kv::help {
namespace {

// Where two windows share a caption, the contents list adds the caption of the menu button
// that opens each.
struct Repeat {
    const char* kind;
    const char* button;
};
constexpr Repeat kRepeats[] = {
    {"frmMarKovModel", "簡単な状態遷移の実行"},
    {"frmMarKovModel4", "例1"},
};

// One look for every page; formulas stand apart, a little larger, so that a sum or an
// exponent reads at a glance.
const char* const kStyle = R"(<style>
h1 { font-size: x-large; color: #1a3c78; margin-bottom: 4px; }
h2 { font-size: large; color: #ffffff; background-color: #3b6cb4; margin-top: 16px; margin-bottom: 6px; }
h3 { font-size: medium; color: #1a3c78; margin-top: 10px; margin-bottom: 2px; }
p, li { line-height: 140%; }
.f { font-size: large; margin-left: 28px; margin-top: 6px; margin-bottom: 6px; }
.note { color: #5a3a00; background-color: #fff6dc; }
table { border-color: #9aa9c4; border-style: solid; }
th { background-color: #e4ebf7; }
code { font-family: monospace; }
</style>)";

QString Number(double x) { return QString::number(x, 'g', 12); }

}  // namespace

const QStringList& PageKinds() {
    static const QStringList kinds = {
        "frmMain",
        "frmDecision2Model", "frmDecisionAnalogModel", "frmDecisionAnalogModelElse", "frmRandom2Model", "frmTimeModel",
        "frmNetworkFeedForward", "frmNetworkRecurrent",
        "frmLogicalUnit",
        "frmUnitLearning", "frmFeedFowardLearning",
        "frmMarKovModel", "frmMarKovModel2", "frmMarKovModel3", "frmMarKovModel4", "frmMarKovModel5", "frmMarKovModel6",
        "frmBoltzmannMachineExec", "frmBoltzmannMachineLearning",
        "frmSlopeMethod1", "frmSlopeMethod2",
        "frmLinearSystem1", "frmLinearSystem2",
        "frmSOM", "frmLVQ",
    };
    return kinds;
}

QUrl PageUrl(const QString& kind, const QString& anchor) {
    QUrl url(QStringLiteral("qrc:/help/%1.html").arg(kind));
    if (!anchor.isEmpty()) url.setFragment(anchor);
    return url;
}

QString KindOfUrl(const QUrl& url) {
    static const QRegularExpression page(QStringLiteral("^/help/(\\w+)\\.html$"));
    const QRegularExpressionMatch m = page.match(url.path());
    return url.scheme() == QLatin1String("qrc") && m.hasMatch() ? m.captured(1) : QString();
}

QString ExperimentText(const Experiment& e) {
    QString text = QString::fromUtf8(e.text);
    for (const Setting& s : e.set) text.replace(QStringLiteral("{%1}").arg(s.control), QString::fromUtf8(s.value));
    for (const Press& p : e.press) text.replace(QStringLiteral("{%1}").arg(p.slot), QString::number(p.times));
    for (const Check& c : e.expect) {
        if (c.text) text.replace(QStringLiteral("{=%1}").arg(c.control), QString::fromUtf8(c.text));
        text.replace(QStringLiteral("{<%1}").arg(c.control), Number(c.lo));
        text.replace(QStringLiteral("{>%1}").arg(c.control), Number(c.hi));
    }
    if (e.message) text.replace(QStringLiteral("{msg}"), QString::fromUtf8(e.message));
    return text;
}

QString PageHtml(const QString& kind) {
    QFile file(QStringLiteral(":/help/%1.html").arg(kind));
    if (!file.open(QIODevice::ReadOnly)) return {};
    QString html = QString::fromUtf8(file.readAll());
    html.replace(QStringLiteral("</head>"), QString::fromUtf8(kStyle) + QStringLiteral("</head>"));
    // Text several windows share is written once.
    static const QRegularExpression part(QStringLiteral("<!--part:(\\w+)-->\n?"));
    for (QRegularExpressionMatch m = part.match(html); m.hasMatch(); m = part.match(html)) {
        QFile shared(QStringLiteral(":/help/parts/%1.html").arg(m.captured(1)));
        const QString text = shared.open(QIODevice::ReadOnly) ? QString::fromUtf8(shared.readAll())
                                                              : QStringLiteral("<!--missing part %1-->").arg(m.captured(1));
        html.replace(m.capturedStart(), m.capturedLength(), text);
    }
    QString list;
    for (const Experiment& e : Experiments())
        if (kind == QLatin1String(e.window)) list += QStringLiteral("<li>") + ExperimentText(e) + QStringLiteral("</li>\n");
    html.replace(QStringLiteral("<!--experiments-->"), QStringLiteral("<ol>\n") + list + QStringLiteral("</ol>"));
    return html;
}

QString PageTitle(const QString& kind) {
    QFile file(QStringLiteral(":/help/%1.html").arg(kind));
    if (!file.open(QIODevice::ReadOnly)) return {};
    static const QRegularExpression title(QStringLiteral("<title>(.*)</title>"));
    return title.match(QString::fromUtf8(file.readAll())).captured(1);
}

QString ContentsTitle(const QString& kind) {
    QString title = PageTitle(kind);
    for (const Repeat& r : kRepeats)
        if (kind == QLatin1String(r.kind)) title += QStringLiteral("（%1）").arg(QString::fromUtf8(r.button));
    return title;
}

}  // namespace kv::help
