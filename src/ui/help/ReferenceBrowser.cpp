#include "ui/help/ReferenceBrowser.h"

#include <QFile>
#include <QRegularExpression>
#include <QTextDocument>

#include "services/help/ErrorHelp.h"
#include "ui/EditorText.h"
#include "ui/Theme.h"

// Resources compiled into a static library are linked only when referenced.
static void initHelpResources()
{
    Q_INIT_RESOURCE(help);
}

namespace tarnik {
namespace {

const QString kExampleScheme = QStringLiteral("tarnik-example");
const QString kErrorPage = QStringLiteral("errors.html");

QString resourceText(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

// The program as the page shows it: the few entities the pages and the
// error page use, turned back into characters.
QString unescaped(QString html)
{
    html.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    html.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    html.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
    html.replace(QStringLiteral("&#10;"), QStringLiteral("\n"));
    html.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return html;
}

}  // namespace

ReferenceBrowser::ReferenceBrowser(QWidget* parent) : QTextBrowser(parent)
{
    initHelpResources();
    takeThemeColours();
    connect(&Theme::instance(), &Theme::changed, this, [this] {
        takeThemeColours();
        reload();
    });
    // Links are followed here, so that an example's link never becomes a page.
    setOpenLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, &ReferenceBrowser::followLink);
}

// A page takes the style sheet when it is loaded.
void ReferenceBrowser::takeThemeColours()
{
    document()->setDefaultStyleSheet(resourceText(QStringLiteral(":/help/style.css")) +
                                     Theme::instance().referenceBlockStyle());
}

QVariant ReferenceBrowser::loadResource(int type, const QUrl& name)
{
    if (type != QTextDocument::HtmlResource) return QTextBrowser::loadResource(type, name);
    const QString html = name.fileName() == kErrorPage ? toQString(errorExplanationsHtml())
                                                       : QString::fromUtf8(QTextBrowser::loadResource(type, name).toByteArray());
    return withExampleLinks(html);
}

QString ReferenceBrowser::withExampleLinks(const QString& html)
{
    static const QRegularExpression kExample(QStringLiteral("<pre class=\"example\"[^>]*>(.*?)</pre>"),
                                             QRegularExpression::DotMatchesEverythingOption);
    m_examples.clear();
    QString out;
    qsizetype copied = 0;
    for (const QRegularExpressionMatch& match : kExample.globalMatch(html)) {
        out += html.mid(copied, match.capturedEnd() - copied);
        out += QStringLiteral("\n<p><a href=\"%1:%2\">在编辑器中打开</a></p>").arg(kExampleScheme).arg(m_examples.size());
        m_examples.append(unescaped(match.captured(1)));
        copied = match.capturedEnd();
    }
    return out + html.mid(copied);
}

void ReferenceBrowser::followLink(const QUrl& link)
{
    if (link.scheme() != kExampleScheme) {
        setSource(link);
        return;
    }
    bool ok = false;
    const int index = link.path().toInt(&ok);
    if (ok && index >= 0 && index < m_examples.size()) emit exampleChosen(m_examples[index]);
}

}  // namespace tarnik
