#include "ui/run/GradingWindow.h"

#include <QDir>
#include <QFileDialog>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QTableWidget>
#include <QVBoxLayout>
#include <variant>

#include "services/GradeReport.h"
#include "services/OjCases.h"
#include "services/SourceText.h"
#include "ui/Dialogs.h"
#include "ui/PresentationMode.h"
#include "ui/storage/CheckedFileWriter.h"
#include "ui/storage/TarnikSettings.h"
#include "ui/Theme.h"

namespace tarnik {
namespace {

const QString kClassKey = QStringLiteral("Grading/classFolder");
const QString kCasesKey = QStringLiteral("Grading/cases");
const QString kTitle = QStringLiteral("批量评测");

constexpr int kVerdictRole = Qt::UserRole + 1;  // on a verdict's cell: its Verdict

struct VerdictLook {
    const char16_t* mark;
    ThemeColour background;
};

// A mark with every colour, so that the colour never carries the verdict
// alone; marks the usual Chinese fonts have (no emoji).
VerdictLook lookOf(Verdict verdict)
{
    switch (verdict) {
    case Verdict::AC: return {u"✔", ThemeColour::VerdictAccepted};
    case Verdict::WA: return {u"✘", ThemeColour::VerdictWrongAnswer};
    case Verdict::PE: return {u"≈", ThemeColour::VerdictPresentation};
    case Verdict::TLE: return {u"∞", ThemeColour::VerdictTimeLimit};
    case Verdict::OLE: return {u"⇶", ThemeColour::VerdictOutputLimit};
    case Verdict::RE: return {u"⚠", ThemeColour::VerdictRuntimeError};
    case Verdict::CE: return {u"⊘", ThemeColour::VerdictCompileError};
    }
    return {u"?", ThemeColour::VerdictCompileError};
}

// In the theme's colours, again whenever the theme changes.
void paintVerdict(QTableWidgetItem& item)
{
    const Theme& theme = Theme::instance();
    item.setBackground(theme.colour(lookOf(static_cast<Verdict>(item.data(kVerdictRole).toInt())).background));
    item.setForeground(theme.colour(ThemeColour::VerdictText));
}

void paintVerdicts(const QTableWidget& table)
{
    for (int row = 0; row < table.rowCount(); ++row) {
        for (int column = 0; column < table.columnCount(); ++column) {
            QTableWidgetItem* item = table.item(row, column);
            if (item && item->data(kVerdictRole).isValid()) paintVerdict(*item);
        }
    }
}

QString qs(std::u16string_view text)
{
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

std::filesystem::path pathOf(const QString& text)
{
    return std::filesystem::path(text.toStdU16String());
}

QTableWidgetItem* verdictItem(const JudgeResult& result)
{
    const VerdictLook look = lookOf(result.verdict);
    auto* item = new QTableWidgetItem(QString::fromUtf16(look.mark) + u' ' + qs(verdictCode(result.verdict)) + u' ' +
                                      qs(verdictWord(result.verdict)));
    item->setData(kVerdictRole, static_cast<int>(result.verdict));
    paintVerdict(*item);
    item->setToolTip(qs(result.name) + QStringLiteral(": ") + qs(judgeLineText(result)));
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

QTableWidgetItem* plainItem(const QString& text)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

QStringList summaryLines(const ClassGrade& grade)
{
    QStringList lines;
    for (std::size_t c = 0; c < grade.caseNames.size(); ++c) {
        std::size_t passed = 0;
        for (const StudentGrade& student : grade.students) {
            passed += c < student.results.size() && student.results[c].verdict == Verdict::AC ? 1 : 0;
        }
        lines << QStringLiteral("用例 %1：通过 %2 人（共 %3 人）")
                     .arg(qs(grade.caseNames[c]))
                     .arg(passed)
                     .arg(grade.students.size());
    }
    for (const ErrorCount& error : frequentErrors(grade)) {
        QStringList names;
        for (const std::u16string& name : error.students) names << qs(name);
        lines << QStringLiteral("错误 %1：%2 %3 次（%4）")
                     .arg(error.number)
                     .arg(qs(error.description))
                     .arg(error.count)
                     .arg(names.join(u'、'));
    }
    for (const auto& group : identicalPrograms(grade)) {
        QStringList names;
        for (const std::u16string& name : group) names << qs(name);
        lines << QStringLiteral("相同的程序：") + names.join(u'、');
    }
    return lines;
}

}  // namespace

GradingWindow::GradingWindow(Dialogs& dialogs, QWidget* parent) : QWidget(parent, Qt::Window), m_dialogs(dialogs)
{
    setWindowTitle(kTitle);
    setAccessibleName(kTitle);
    buildLayout();
    QSettings settings = tarnikSettings();
    m_classFolder->setText(settings.value(kClassKey).toString());
    m_cases->setText(settings.value(kCasesKey).toString());
    resize(PresentationMode::instance().windowSize({900, 600}, *this));
    connect(&Theme::instance(), &Theme::changed, m_table, [this] { paintVerdicts(*m_table); });
}

GradingWindow::~GradingWindow()
{
    m_stopRequested = true;
}

QPushButton* GradingWindow::addButton(const QString& text, const QString& name)
{
    auto* button = new QPushButton(text, this);
    button->setObjectName(name);
    button->setAccessibleName(QString(text).remove(QStringLiteral("…")));
    return button;
}

void GradingWindow::buildLayout()
{
    auto* fields = new QGridLayout;
    m_classFolder = new QLineEdit(this);
    m_classFolder->setObjectName(QStringLiteral("classFolder"));
    m_classFolder->setAccessibleName(QStringLiteral("班级文件夹"));
    m_cases = new QLineEdit(this);
    m_cases->setObjectName(QStringLiteral("cases"));
    m_cases->setAccessibleName(QStringLiteral("测试用例"));
    QPushButton* chooseClass = addButton(QStringLiteral("选择文件夹…"), QStringLiteral("chooseClass"));
    QPushButton* chooseCasesFolder = addButton(QStringLiteral("选择文件夹…"), QStringLiteral("chooseCasesFolder"));
    QPushButton* chooseCasesFile = addButton(QStringLiteral("选择 zip 或 FPS 文件…"), QStringLiteral("chooseCasesFile"));
    fields->addWidget(new QLabel(QStringLiteral("班级文件夹（每个学生一个程序或一个文件夹）："), this), 0, 0);
    fields->addWidget(m_classFolder, 0, 1);
    fields->addWidget(chooseClass, 0, 2);
    fields->addWidget(new QLabel(QStringLiteral("测试用例（NAME.in 与 NAME.out/.ans）："), this), 1, 0);
    fields->addWidget(m_cases, 1, 1);
    fields->addWidget(chooseCasesFolder, 1, 2);
    fields->addWidget(chooseCasesFile, 1, 3);

    auto* actions = new QHBoxLayout;
    m_start = addButton(QStringLiteral("开始评测"), QStringLiteral("start"));
    m_stop = addButton(QStringLiteral("停止"), QStringLiteral("stop"));
    m_stop->setEnabled(false);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("progress"));
    m_progress->setAccessibleName(QStringLiteral("评测进度"));
    m_progress->setFormat(QStringLiteral("%v / %m 名学生"));
    m_exportCsv = addButton(QStringLiteral("导出 CSV…"), QStringLiteral("exportCsv"));
    m_exportHtml = addButton(QStringLiteral("导出 HTML…"), QStringLiteral("exportHtml"));
    m_exportCsv->setEnabled(false);
    m_exportHtml->setEnabled(false);
    for (QWidget* widget : std::initializer_list<QWidget*>{m_start, m_stop, m_progress, m_exportCsv, m_exportHtml}) {
        actions->addWidget(widget);
    }
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("status"));
    m_table = new QTableWidget(this);
    m_table->setObjectName(QStringLiteral("results"));
    m_table->setAccessibleName(QStringLiteral("评测结果"));
    m_summary = new QPlainTextEdit(this);
    m_summary->setObjectName(QStringLiteral("summary"));
    m_summary->setAccessibleName(QStringLiteral("评测汇总"));
    m_summary->setReadOnly(true);
    m_summary->setMaximumHeight(140);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(actions);
    layout->addWidget(m_status);
    layout->addWidget(m_table, 1);
    layout->addWidget(m_summary);

    connect(chooseClass, &QPushButton::clicked, this, &GradingWindow::chooseClassFolder);
    connect(chooseCasesFolder, &QPushButton::clicked, this, &GradingWindow::chooseCasesFolder);
    connect(chooseCasesFile, &QPushButton::clicked, this, &GradingWindow::chooseCasesFile);
    connect(m_start, &QPushButton::clicked, this, &GradingWindow::startGrading);
    connect(m_stop, &QPushButton::clicked, this, &GradingWindow::stopGrading);
    connect(m_table, &QTableWidget::cellDoubleClicked, this, &GradingWindow::chooseCase);
    connect(m_exportCsv, &QPushButton::clicked, this, [this] {
        exportReport(QStringLiteral("导出 CSV"), QStringLiteral("CSV 表格 (*.csv)"), gradeCsv(m_grade));
    });
    connect(m_exportHtml, &QPushButton::clicked, this, [this] {
        const std::u16string title = u"评测结果：" + problemName(m_judgedCases);
        exportReport(QStringLiteral("导出 HTML"), QStringLiteral("网页 (*.html)"), gradeHtml(m_grade, title));
    });
}

void GradingWindow::chooseClassFolder()
{
    const QString folder = QFileDialog::getExistingDirectory(this, QStringLiteral("选择班级文件夹"), m_classFolder->text());
    if (!folder.isEmpty()) m_classFolder->setText(QDir::toNativeSeparators(folder));
}

void GradingWindow::chooseCasesFolder()
{
    const QString folder = QFileDialog::getExistingDirectory(this, QStringLiteral("选择测试用例文件夹"), m_cases->text());
    if (!folder.isEmpty()) m_cases->setText(QDir::toNativeSeparators(folder));
}

void GradingWindow::chooseCasesFile()
{
    const QString file = m_dialogs.openFileName(this, QStringLiteral("选择测试用例文件"),
                                                QStringLiteral("测试用例 (*.zip *.xml);;所有文件 (*)"));
    if (!file.isEmpty()) m_cases->setText(QDir::toNativeSeparators(file));
}

void GradingWindow::complain(const QString& text)
{
    m_dialogs.showMessage(this, MessageIcon::Warning, kTitle, text);
}

bool GradingWindow::startGrading()
{
    if (m_grading) return false;
    const QString classText = m_classFolder->text().trimmed();
    const QString casesText = m_cases->text().trimmed();
    if (classText.isEmpty() || casesText.isEmpty()) {
        complain(QStringLiteral("请先选择班级文件夹和测试用例，评测没有开始。"));
        return false;
    }
    const std::filesystem::path cases = pathOf(casesText);
    auto students = findStudents(pathOf(classText), problemName(cases));
    if (auto* failure = std::get_if<std::u16string>(&students)) {
        complain(qs(*failure) + QStringLiteral("，评测没有开始。"));
        return false;
    }
    auto judgeCases = readOjCases(cases);
    if (auto* failure = std::get_if<std::u16string>(&judgeCases)) {
        complain(qs(*failure) + QStringLiteral("评测没有开始。"));
        return false;
    }
    QSettings settings = tarnikSettings();
    settings.setValue(kClassKey, classText);
    settings.setValue(kCasesKey, casesText);
    (void)storeSettings(settings);  // on failure the folders are only kept for this session
    m_judgedClass = pathOf(classText);
    m_judgedCases = cases;
    judgeInBackground(std::move(std::get<std::vector<Student>>(students)),
                      std::move(std::get<std::vector<JudgeCase>>(judgeCases)));
    return true;
}

void GradingWindow::judgeInBackground(std::vector<Student> students, std::vector<JudgeCase> cases)
{
    m_grade = ClassGrade{};
    m_judgeCases = cases;
    for (const JudgeCase& judged : cases) m_grade.caseNames.push_back(judged.name);
    m_studentCount = students.size();
    m_table->clear();
    m_table->setRowCount(0);
    m_table->setColumnCount(static_cast<int>(cases.size()) + 1);
    QStringList headers{QStringLiteral("得分")};
    for (const JudgeCase& judged : cases) headers << QStringLiteral("用例 ") + qs(judged.name);
    m_table->setHorizontalHeaderLabels(headers);
    m_summary->clear();
    m_progress->setRange(0, static_cast<int>(students.size()));
    m_progress->setValue(0);
    m_status->setText(QStringLiteral("正在评测……"));
    m_grading = true;
    m_stopRequested = false;
    m_start->setEnabled(false);
    m_stop->setEnabled(true);
    m_exportCsv->setEnabled(false);
    m_exportHtml->setEnabled(false);
    if (m_worker.joinable()) m_worker.join();
    // One student at a time, each one's cases over every processor: 停止
    // takes effect after the student being judged.
    m_worker = std::jthread([this, students = std::move(students), cases = std::move(cases)] {
        const unsigned jobs = std::max(1U, std::thread::hardware_concurrency());
        for (const Student& student : students) {
            if (m_stopRequested) break;
            const StudentGrade graded = gradeClass({student}, cases, kJudgeStatementLimit, jobs).students.front();
            QMetaObject::invokeMethod(this, [this, graded] { addStudent(graded); }, Qt::QueuedConnection);
        }
        QMetaObject::invokeMethod(this, [this] { finishGrading(); }, Qt::QueuedConnection);
    });
}

void GradingWindow::addStudent(const StudentGrade& student)
{
    m_grade.students.push_back(student);
    const int row = m_table->rowCount();
    m_table->insertRow(row);
    m_table->setVerticalHeaderItem(row, new QTableWidgetItem(qs(student.student.name)));
    if (student.missing) {
        m_table->setItem(row, 0, plainItem(qs(*student.missing)));
        m_table->setSpan(row, 0, 1, m_table->columnCount());
    } else {
        m_table->setItem(row, 0, plainItem(qs(scoreText(student))));
        for (std::size_t c = 0; c < student.results.size(); ++c) {
            m_table->setItem(row, static_cast<int>(c) + 1, verdictItem(student.results[c]));
        }
    }
    m_progress->setValue(row + 1);
}

void GradingWindow::stopGrading()
{
    if (!m_grading) return;
    m_stopRequested = true;
    m_stop->setEnabled(false);
    m_status->setText(QStringLiteral("正在停止：评完当前这名学生就停下……"));
}

void GradingWindow::finishGrading()
{
    m_grading = false;
    m_start->setEnabled(true);
    m_stop->setEnabled(false);
    m_exportCsv->setEnabled(true);
    m_exportHtml->setEnabled(true);
    m_table->resizeColumnsToContents();
    showSummaries();
    m_status->setText(m_grade.students.size() < m_studentCount
                          ? QStringLiteral("已停止：评测了 %1 名学生（共 %2 名），表格和报告只含这些学生。")
                                .arg(m_grade.students.size())
                                .arg(m_studentCount)
                          : QStringLiteral("评测完毕：%1 名学生，%2 个用例。")
                                .arg(m_grade.students.size())
                                .arg(m_grade.caseNames.size()));
    emit gradingFinished();
}

void GradingWindow::showSummaries()
{
    m_summary->setPlainText(summaryLines(m_grade).join(u'\n'));
}

// The program is read again, as it is now, and opened as a new document:
// its file is never written from the editor without the teacher choosing it.
void GradingWindow::chooseCase(int row, int column)
{
    if (row < 0 || static_cast<std::size_t>(row) >= m_grade.students.size() || column < 1) return;
    const StudentGrade& student = m_grade.students[static_cast<std::size_t>(row)];
    const auto c = static_cast<std::size_t>(column - 1);
    if (student.missing || !student.student.program || c >= m_judgeCases.size()) return;
    QFile file(qs(student.student.program->u16string()));
    if (!file.open(QIODevice::ReadOnly)) {
        complain(QStringLiteral("无法读取程序 %1：%2，没有打开。")
                     .arg(QDir::toNativeSeparators(file.fileName()), chineseFileError(file.errorString())));
        return;
    }
    const QByteArray bytes = file.readAll();
    const DecodedSource source = decodeSource(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    emit caseChosen(qs(student.student.name), qs(source.text), m_judgeCases[c]);
}

bool GradingWindow::insideTeachersFiles(const QString& reportPath) const
{
    const QString folder = QFileInfo(QFileInfo(reportPath).absolutePath()).canonicalFilePath() + u'/';
    for (const std::filesystem::path& place : {m_judgedClass, m_judgedCases}) {
        const QString canonical = QFileInfo(qs(place.u16string())).canonicalFilePath();
        if (!canonical.isEmpty() && QFileInfo(canonical).isDir() && folder.startsWith(canonical + u'/')) return true;
    }
    return false;
}

void GradingWindow::exportReport(const QString& title, const QString& filter, const std::string& bytes)
{
    const QString path = m_dialogs.saveFileName(this, title, filter);
    if (path.isEmpty()) return;
    if (insideTeachersFiles(path)) {
        complain(QStringLiteral("报告不能写在学生的程序文件夹或测试用例文件夹里：%1 没有写出，请换一个文件夹。")
                     .arg(QDir::toNativeSeparators(path)));
        return;
    }
    const FileWriteResult written =
        writeFileChecked(path, QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())), LinkPolicy::Follow);
    if (!written) {
        m_dialogs.showMessage(this, MessageIcon::Critical, title,
                              QStringLiteral("无法写入 %1：%2。报告没有写出。")
                                  .arg(QDir::toNativeSeparators(path), written.reason));
        return;
    }
    m_status->setText(QStringLiteral("报告已写入 %1。").arg(QDir::toNativeSeparators(path)));
}

}  // namespace tarnik
