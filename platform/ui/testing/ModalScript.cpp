#include "ModalScript.h"

#include "ui/Cursor.h"
#include "ui/DialogTask.h"

#include <gtest/gtest.h>

namespace uitest {

const char* KindName(ui::TModalTask::Kind kind) {
    switch (kind) {
    case ui::TModalTask::Kind::Dialog:
        return "dialog";
    case ui::TModalTask::Kind::Box:
        return "box";
    case ui::TModalTask::Kind::Form:
        return "form";
    }
    return "?";
}

namespace {

std::string Describe(const ui::TModalTask& task) {
    std::string s = KindName(task.GetKind());
    if (!task.GetKey().empty()) s += " " + task.GetKey();
    s += " \"" + task.GetCaption() + "\"";
    if (!task.GetText().empty()) s += " \"" + task.GetText() + "\"";
    return s;
}

} // namespace

TModalScript::TModalScript() : previous_(ui::SetModalRunner(this)) {}

TModalScript::~TModalScript() {
    ui::SetModalRunner(previous_);
    EXPECT_TRUE(Done()) << steps_.size() - next_ << " scripted modal(s) never came";
}

TModalScript& TModalScript::Step(ui::TModalTask::Kind kind, std::string key,
                                 std::function<int(ui::TModalTask&)> run) {
    steps_.push_back(StepDef{kind, std::move(key), std::move(run)});
    return *this;
}

TModalScript& TModalScript::Dialog(int templateId, std::function<void(ui::TDialog&)> act) {
    return Step(ui::TModalTask::Kind::Dialog, std::to_string(templateId),
                [act = std::move(act)](ui::TModalTask& task) {
                    auto& run = static_cast<ui::TDialogTask&>(task);
                    if (!run.Begin()) {
                        ADD_FAILURE() << "dialog " << run.TemplateId() << " could not be made";
                        return -1;
                    }
                    if (act) act(run.Dialog());
                    if (!run.Ended())
                        ADD_FAILURE()
                            << "dialog " << run.TemplateId() << " was left open by its script";
                    return run.End(ui::IDCANCEL);
                });
}

TModalScript& TModalScript::Box(int result) {
    return Step(ui::TModalTask::Kind::Box, {}, [result](ui::TModalTask&) { return result; });
}

int TModalScript::Run(ui::TModalTask& task) {
    int result = ui::IDCANCEL;
    if (next_ >= steps_.size()) {
        ADD_FAILURE() << "unscripted modal: " << Describe(task);
    } else {
        const StepDef& step = steps_[next_];
        if (step.kind != task.GetKind() || (!step.key.empty() && step.key != task.GetKey())) {
            ADD_FAILURE() << "modal " << Describe(task) << " came where the script expects "
                          << KindName(step.kind) << " " << step.key;
        } else {
            ++next_;
            result = step.run(task);
        }
    }
    seen_.push_back(Seen{task.GetKind(), task.GetKey(), task.GetCaption(), task.GetText(), result});
    return result;
}

int TStrictRunner::Run(ui::TModalTask& task) {
    ADD_FAILURE() << "unscripted modal: " << Describe(task);
    return ui::IDCANCEL;
}

TCursorRecorder::TCursorRecorder() {
    ui::SetCursorObserver([this](const ui::TCursorRequest& r) {
        Requests.push_back(Request{int(r.kind), r.pos.x, r.pos.y, r.clip.has_value(), r.cursor});
    });
}

TCursorRecorder::~TCursorRecorder() {
    ui::SetCursorObserver({});
}

} // namespace uitest
