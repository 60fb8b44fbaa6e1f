// The form step of the scripted modal runner: a modal form is shown without an
// event loop (OnShow runs), handed to the step's function, and closed.
#include "ModalScript.h"

#include "ui/forms/FormTask.h"

#include <gtest/gtest.h>

namespace uitest {

TModalScript& TModalScript::Form(std::string formName, std::function<void(ui::forms::TForm&)> act) {
    const std::string name = formName;
    return Step(ui::TModalTask::Kind::Form, std::move(formName),
                [act = std::move(act), name](ui::TModalTask& task) {
                    auto& run = static_cast<ui::forms::TFormTask&>(task);
                    run.Begin();
                    if (act) act(run.Form());
                    if (!run.Ended())
                        ADD_FAILURE()
                            << "form " << run.Form().GetName() << " was left open by its script";
                    return run.End(ui::forms::mrCancel);
                });
}

} // namespace uitest
