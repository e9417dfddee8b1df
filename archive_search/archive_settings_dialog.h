#pragma once
// "電子取引の保存設定": whether PDF and paper prints are kept, the archive
// folder, and the register: a SQLite file on this computer or a PostgreSQL
// server that several desks share. OK writes the archive's own settings
// file.

#include "archive/archive_settings.h"
#include "widgets/dialog_base.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace belvorine {

class ArchiveSettingsDialog : public BelvorineDialog {
    Q_OBJECT
public:
    explicit ArchiveSettingsDialog(QWidget* owner);

    // The settings as the controls show them.
    ArchiveSettings chosen() const;
    void accept() override;
    // Connects to the chosen register and says how it went.
    void testConnection();

private:
    void updateEnabling();

    QCheckBox* pdfPrints_;
    QCheckBox* paperPrints_;
    QLineEdit* folder_;
    QRadioButton* sqlite_;
    QLineEdit* sqliteFile_;
    QRadioButton* postgres_;
    QLineEdit* host_;
    QLineEdit* port_;
    QLineEdit* database_;
    QLineEdit* user_;
};

// Runs the dialog; 1 after OK.
int runArchiveSettingsDialog(QWidget* owner);

}  // namespace belvorine
