#include <QFile>

#include "app/main_form.h"
#include "platform/description.h"
#include "setup/setup_classes.h"

namespace kx {

const TClassRegistry& SetupClassRegistry() {
    static const TClassRegistry registry = [] {
        TClassRegistry r;
        RegisterPlatformClasses(r);
        RegisterSetupClasses(r);
        // The main window only lends its form properties; it is never created
        // by the reader.
        r.Register("TMainForm", "TForm");
        return r;
    }();
    return registry;
}

namespace {

QByteArray ReadResource(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        throw std::runtime_error("the program's resource " + path.toStdString() + " is missing");
    }
    return f.readAll();
}

}  // namespace

std::string EmbeddedDescription() {
    return ReadResource(":/kx7040.json").toStdString();
}

std::vector<unsigned char> EmbeddedAsset(const std::string& name) {
    const QByteArray bytes = ReadResource(":/" + QString::fromStdString(name));
    return {bytes.begin(), bytes.end()};
}

}  // namespace kx
