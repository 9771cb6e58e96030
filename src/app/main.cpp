#include "book/DateLocale.h"
#include "commands/Session.h"
#include "runtime/Files.h"
#include "ui/Windows.h"
#include "ui/mainUnit.h"
#include "ui/platform/Application.h"
#include "ui/platform/ProcessLauncher.h"
#include "ui/widgets/Guard.h"

#include <memory>
#include <optional>
#include <string>

int main(int argc, char* argv[]) {
    using namespace portolan;
    SystemClock clock;
    ProcessLauncher launcher;
    Session session(clock, launcher, executableFolder());
    LoadDateSettings(session.dateSettings, true);

    GuardedApplication application(argc, argv);
    setUpApplication(application, session.dateSettings);

    std::optional<std::string> startupFile;
    if (argc > 1)
        startupFile = std::string(argv[1]); // the path exactly as the system passed it

    const std::unique_ptr<TmainFRM> mainFRM(createWindows(session, startupFile));
    mainFRM->show();
    return GuardedApplication::exec();
}
