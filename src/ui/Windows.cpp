#include "ui/Windows.h"

#include "ui/aboutUnit.h"
#include "ui/addUnit.h"
#include "ui/configUnit.h"
#include "ui/exportUnit.h"
#include "ui/mainUnit.h"

namespace portolan {

TmainFRM* createWindows(Session& session, std::optional<std::string> startupFile) {
    auto* mainFRM = new TmainFRM(session, std::move(startupFile));
    const DialogPlacement besideMain = [mainFRM](QWidget& dialog) { mainFRM->placeDialog(dialog); };
    SecondaryWindows windows;
    windows.aboutFRM = new TaboutFRM(mainFRM);
    windows.addFRM = new TaddFRM(mainFRM, session, *mainFRM, besideMain);
    windows.exportFRM = new TexportFRM(mainFRM, session, *mainFRM, besideMain);
    windows.configFRM = new TconfigFRM(mainFRM, session, besideMain);
    mainFRM->setSecondaryWindows(windows);
    return mainFRM;
}

} // namespace portolan
