#include "MainUnit.h"
#include "TApplication.h"

int main(int argc, char *argv[])
{
    Q_INIT_RESOURCE(resources);
    TApplication application(argc, argv);
    try {
        Application->Initialize();
        Application->SetTitle(QStringLiteral("Tesk - Vadederar"));
        Application->CreateForm(TeskMailerForm);
        Application->Run();
    } catch (const std::exception &error) {
        // The windows already created are destroyed with the application object.
        Application->ShowStartupException(error);
        return 1;
    }
    return 0;
}
