#include "unit/wrappers/wrapped_fakes.h"

std::vector<RoutineCall> routineCalls;

HRESULT STDMETHODCALLTYPE NotingRoutine(ULONG_PTR context, ULONG_PTR first, ULONG_PTR second) {
  routineCalls.push_back({context, first, second});
  return static_cast<HRESULT>(kRoutineAnswer + context);
}

HRESULT STDMETHODCALLTYPE NotingSingleArgRoutine(ULONG_PTR context, ULONG_PTR first) {
  return NotingRoutine(context, first, 0);
}

WrappedFakes::WrappedFakes(Kind kind) {
  if (kind == kEmpty) return;
  environment.Set(&fakeEnvironment);
  environment4.Set(&fakeEnvironment);
  controller.Set(&fakeController);
  view.Set(&fakeView);
  view15.Set(&fakeView);
  args.Set(&fakeArgs);
  receiver.Set(&fakeReceiver);
}

std::vector<RecordedCall> WrappedFakes::AllCalls() const {
  std::vector<RecordedCall> all;
  for (const Recorder* fake :
       std::initializer_list<const Recorder*>{&fakeEnvironment, &fakeController, &fakeView, &fakeArgs, &fakeReceiver}) {
    all.insert(all.end(), fake->calls.begin(), fake->calls.end());
  }
  return all;
}

void WrappedFakes::SetResult(HRESULT result) {
  for (Recorder* fake :
       std::initializer_list<Recorder*>{&fakeEnvironment, &fakeController, &fakeView, &fakeArgs, &fakeReceiver}) {
    fake->answers.result = result;
  }
}
