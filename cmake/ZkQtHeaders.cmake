# zk_share_qt_headers(<target> [OWN])
# The Qt libraries parse Qt's widget headers once, in zk_qt_headers, as the
# tests share the test framework's (ZkTesting.cmake). A library built with
# feature macros of its own (SDL's) cannot take that parse and makes its own
# from the same headers: OWN.
set(ZK_QT_HEADERS
  <QApplication> <QDialog> <QDir> <QFile> <QFileInfo> <QImage> <QKeyEvent>
  <QMouseEvent> <QPainter> <QString> <QWidget> <QWindow>)
file(WRITE ${CMAKE_BINARY_DIR}/zk_qt_headers.cpp "")
add_library(zk_qt_headers OBJECT ${CMAKE_BINARY_DIR}/zk_qt_headers.cpp)
target_link_libraries(zk_qt_headers PRIVATE Qt6::Widgets)
# The parse is only valid for libraries built with the same macros.
zk_qt_strings(zk_qt_headers)
target_precompile_headers(zk_qt_headers PRIVATE ${ZK_QT_HEADERS})

function(zk_share_qt_headers target)
  if("OWN" IN_LIST ARGN)
    target_precompile_headers(${target} PRIVATE ${ZK_QT_HEADERS})
  else()
    target_precompile_headers(${target} REUSE_FROM zk_qt_headers)
  endif()
endfunction()
