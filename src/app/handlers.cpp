#include "app/handlers.h"

#include "app/shutdown.h"
#include "app/tray.h"
#include "browser/environment_request.h"
#include "browser/globals.h"

void OnMainWindowCreated(HWND window) {
  AddTrayIcon(window);
  StartBrowserHosting(window);
}

void OnMainWindowMoved(HWND window) {
  if (IsIconic(window)) ShowWindow(window, SW_HIDE);
}

bool OnMainWindowCloseQuery(HWND window) {
  ShowWindow(window, SW_HIDE);
  return false;
}

void OnTrayEvent(HWND window, int /*kind*/) {
  // SW_SHOWNORMAL restores a minimised or maximised window only once it is visible.
  ShowWindow(window, SW_SHOW);
  ShowWindow(window, SW_SHOWNORMAL);
  TrackTrayMenu(window);
}

void OnExitItemSelected(HWND /*window*/) { EndProgram(0); }

MainWindow::Events ClientEvents() {
  MainWindow::Events events;
  events.created = OnMainWindowCreated;
  events.moved = OnMainWindowMoved;
  events.sizeChanged = OnMainWindowSizeChanged;
  events.closeQuery = OnMainWindowCloseQuery;
  events.trayEvent = OnTrayEvent;
  events.exitItemSelected = OnExitItemSelected;
  return events;
}
