#include "ui/Windows.h"

#include "ui/aboutUnit.h"
#include "ui/addUnit.h"
#include "ui/configUnit.h"
#include "ui/exportUnit.h"
#include "ui/mainUnit.h"

namespace portolan {

TmainFRM* createWindows(Session& session, std::optional<std::string> startupFile) {
    auto* mainFRM = new TmainFRM(session, std::move(startupFile));
    SecondaryWindows windows;
    windows.aboutFRM = new TaboutFRM(mainFRM);
    windows.addFRM = new TaddFRM(*mainFRM);
    windows.exportFRM = new TexportFRM(*mainFRM);
    windows.configFRM = new TconfigFRM(*mainFRM);
    mainFRM->setSecondaryWindows(windows);
    return mainFRM;
}

} // namespace portolan
