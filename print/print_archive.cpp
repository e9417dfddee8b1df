#include "print/print_archive.h"

#include "archive/archive_issue.h"
#include "archive/archive_settings.h"
#include "widgets/message_box.h"

namespace belvorine {

int keepIssuedDocument(QWidget* owner, const IssuedDocument& issued) {
    if (issued.pages <= 0) {
        return 1;
    }
    const ArchiveOutcome outcome = archiveDocument(issued, archiveSettings());
    if (outcome.done()) {
        return 1;
    }
    showMessage({owner, QStringLiteral("電子取引の保存"), archiveFailureText(outcome),
                 MessageIcon::Warning, MessageButtons::Ok});
    return 0;
}

}  // namespace belvorine
