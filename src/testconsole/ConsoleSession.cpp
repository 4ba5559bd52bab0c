#include "ConsoleSession.h"

#include "base/Error.h"
#include "listmanager/Application.h"
#include "text/Rounding.h"

#include <QDir>
#include <QLocale>

namespace barlink::testconsole {

namespace {

constexpr int TypeMismatch = 13;

[[noreturn]] void objectNotSet()
{
    throw base::Error(base::Error::ObjectNotSet, base::Reason(base::Reason::Code::ObjectNotSet));
}

} // namespace

qint32 lineNumberOf(const QString &text)
{
    bool ok = false;
    const double value = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok)
        throw base::Error(TypeMismatch, QStringLiteral("Type mismatch"));
    return text::roundHalfEven32(value);
}

QString listFolderIn(const QString &productFolder)
{
    const QString name = QStringLiteral("Lsx");
    const QDir product(productFolder);
    if (!product.exists(name)) {
        const QStringList others
            = product.entryList({name}, QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
        // The name filter ignores letter case, so every entry is the list folder in
        // another spelling.
        if (!others.isEmpty())
            return product.filePath(others.first());
    }
    return product.filePath(name);
}

ConsoleSession::ConsoleSession(listmanager::ListManagerProvider &provider)
    : m_provider(provider)
{}

ConsoleSession::~ConsoleSession()
{
    dropAll();
}

listmanager::Application &ConsoleSession::application()
{
    if (!m_application)
        objectNotSet();
    return *m_application;
}

listmanager::ExeList &ConsoleSession::list()
{
    if (!m_list)
        objectNotSet();
    return *m_list;
}

void ConsoleSession::appInit()
{
    m_application = m_provider.createApplication();
}

void ConsoleSession::quit()
{
    application().quit(true);
    dropAll();
}

void ConsoleSession::newList()
{
    m_list = application().newList();
}

void ConsoleSession::openList(const QString &path)
{
    m_list = application().openList(path);
}

void ConsoleSession::listClose()
{
    list().listClose(true);
    m_list.reset();
}

void ConsoleSession::dropAll()
{
    m_list.reset();
    m_application.reset();
}

} // namespace barlink::testconsole
