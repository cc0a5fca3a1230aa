#pragma once
// The language reference's pages (qrc:/help) with their style sheet applied
// (QTextBrowser ignores <link>) and the theme's colours for their blocks,
// the page shown again when the theme changes; the error page rendered from the core's
// error table, and under each runnable example a link that hands its program
// to whoever opens it in the editor.
#include <QStringList>
#include <QTextBrowser>

namespace tarnik {

class ReferenceBrowser : public QTextBrowser {
    Q_OBJECT

public:
    explicit ReferenceBrowser(QWidget* parent = nullptr);

    QVariant loadResource(int type, const QUrl& name) override;

    // The example programs of the page shown, in page order.
    [[nodiscard]] const QStringList& examples() const { return m_examples; }

signals:
    // An example's program, lines separated by "\n".
    void exampleChosen(const QString& program);

private:
    void takeThemeColours();
    [[nodiscard]] QString withExampleLinks(const QString& html);
    void followLink(const QUrl& link);

    QStringList m_examples;
};

}  // namespace tarnik
