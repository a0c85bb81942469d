#include "foundations/DesktopShell.h"
#include "foundations/ProductConfig.h"
#include "foundations/QtUserDialogs.h"
#include "foundations/QuillonError.h"
#include "records/TMainForm.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QTranslator>

namespace {

// The general error report: an error no command caught is shown, and the program goes on.
class QuillonApplication : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (const QuillonError& error) {
            report(error.message());
        } catch (const std::exception& error) {
            report(QString::fromLocal8Bit(error.what()));
        }
        return false;
    }

private:
    static void report(const QString& text) {
        QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationDisplayName(),
                              text);
    }
};

} // namespace

int main(int argc, char* argv[]) {
    QuillonApplication app(argc, argv);
    QTranslator qtGerman;
    if (qtGerman.load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"),
                      QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtGerman);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));

    // The edition follows the name the program was started under, so a link works.
    const ProductConfig config = ProductConfig::fromProgramName(QString::fromLocal8Bit(argv[0]));
    app.setApplicationDisplayName(config.productTitle);
    const Folders folders = Folders::forProgramDir(QCoreApplication::applicationDirPath(),
                                                   Folders::defaultLettersDir());
    QtUserDialogs dialogs;
    DesktopShell shell;
    TMainForm form(config, folders, dialogs, shell);
    if (form.refusedToStart())
        return 0;
    dialogs.setParent(&form);
    form.show();
    return app.exec();
}
