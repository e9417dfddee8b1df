#include "widgets/help.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QVariant>
#include <QWhatsThis>
#include <QWidget>

#include "platform/module_path.h"
#include "widgets/context_help.h"
#include "widgets/help_window.h"

namespace belvorine {
namespace {

const char kControlIdProperty[] = "controlId";

// "belhelp.txt" holds ".topic <help id>" lines, each followed by its text.
QHash<int, QString> loadPopupTexts() {
    QHash<int, QString> texts;
    QFile file(QStringLiteral(":/help/belhelp.txt"));
    if (!file.open(QIODevice::ReadOnly)) {
        return texts;
    }
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    int current = 0;
    QStringList body;
    auto flush = [&]() {
        if (current != 0) {
            texts.insert(current, body.join(QLatin1Char('\n')).trimmed());
        }
        body.clear();
    };
    static const QRegularExpression topicLine(QStringLiteral("^\\.topic\\s+(\\d+)"));
    for (const QString& line : lines) {
        const QRegularExpressionMatch match = topicLine.match(line);
        if (match.hasMatch()) {
            flush();
            current = match.captured(1).toInt();
        } else {
            body << line;
        }
    }
    flush();
    return texts;
}

QString topicOf(const QString& path) {
    const qsizetype separator = path.indexOf(QStringLiteral("::"));
    return separator < 0 ? QString() : path.mid(separator);
}

}  // namespace

QString helpFilePath() {
    return modulePathWithExtension(QStringLiteral("chm"));
}

QString popupText(int helpId) {
    static const QHash<int, QString> texts = loadPopupTexts();
    return texts.value(helpId);
}

int controlIdOf(const QWidget* control) {
    return control ? control->property(kControlIdProperty).toInt() : 0;
}

void setControlId(QWidget* control, int id) {
    control->setProperty(kControlIdProperty, id);
}

QWidget* findControl(QWidget* root, int id) {
    if (controlIdOf(root) == id) {
        return root;
    }
    const auto children = root->findChildren<QWidget*>();
    for (QWidget* child : children) {
        if (controlIdOf(child) == id) {
            return child;
        }
    }
    return nullptr;
}

int htmlHelp(QWidget* window, const QString& path, HelpCommand command) {
    switch (command) {
        case HelpCommand::DisplayTopic:
        case HelpCommand::DisplayContents:
            HelpWindow::instance()->showTopic(topicOf(path));
            return 1;
        case HelpCommand::WhatsThisFromHelpKey:
        case HelpCommand::WhatsThisFromContextMenu: {
            const int helpId = helpIdForControl(controlIdOf(window));
            const QString text = popupText(helpId);
            if (helpId == 0 || text.isEmpty() || !window) {
                return 0;
            }
            const QPoint at = window->mapToGlobal(QPoint(window->width() / 2, window->height()));
            QWhatsThis::showText(at, text, window);
            return helpId;
        }
    }
    return 0;
}

QString currentHelpTopic() {
    return HelpWindow::instance()->topic();
}

}  // namespace belvorine
