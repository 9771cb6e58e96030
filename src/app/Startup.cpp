#include "app/Startup.h"

#include "book/DateLocale.h"
#include "commands/Session.h"
#include "runtime/ProgramArguments.h"
#include "runtime/ProgramPlaces.h"
#include "ui/Windows.h"
#include "ui/mainUnit.h"
#include "ui/platform/Application.h"
#include "ui/platform/ProcessLauncher.h"
#include "ui/widgets/Guard.h"

#include <memory>

namespace portolan {

int startPortolan(int argc, char* argv[]) {
    const std::optional<std::string> startupFile = firstProgramArgument(argc, argv);
    int qtArgc = argc > 0 ? 1 : 0;
    char* qtArgv[] = {argc > 0 ? argv[0] : nullptr, nullptr};

    SystemClock clock;
    ProcessLauncher launcher;
    SystemPlaces places;
    Session session(clock, launcher, places);
    LoadDateSettings(session.dateSettings, true);

    GuardedApplication application(qtArgc, qtArgv);
    setUpApplication(application, session.dateSettings);

    const std::unique_ptr<TmainFRM> mainFRM(createWindows(session, startupFile));
    mainFRM->show();
    return GuardedApplication::exec();
}

} // namespace portolan
