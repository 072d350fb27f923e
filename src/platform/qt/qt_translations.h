#pragma once
// Qt's own texts (the file dialogs' labels, the standard buttons Qt draws) in
// the program's language, Japanese, beside the program's own texts.
class QCoreApplication;
class QTranslator;

namespace kv {

// Makes Japanese the application's default locale and installs Qt's Japanese
// translation (qtbase_ja from Qt's translations folder). The translator
// belongs to the application; null when the translation is not installed (Qt
// then speaks English).
QTranslator* LoadQtTranslations(QCoreApplication& app);

}  // namespace kv
