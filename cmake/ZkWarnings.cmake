# Checks beyond -Wall -Wextra, per kind of code.
#
# zk_core_warnings(<target>...): the platform-independent core parses
# untrusted archives, so a silent narrowing, sign change, shadowed name or
# unchecked cast there is a fault in waiting. Like every warning they stop
# the build only with ZK_WERROR.
function(zk_core_warnings)
  foreach(target IN LISTS ARGN)
    target_compile_options(${target} PRIVATE
      -Wshadow -Wconversion -Wsign-conversion -Wold-style-cast)
  endforeach()
endfunction()

# zk_qt_strings(<target>...): Qt code says how each byte string becomes text
# (QStringLiteral, QLatin1String, QString::fromUtf8), so no file name or
# message is decoded by accident. A cast it forbids does not compile, with or
# without ZK_WERROR: it does not depend on the compiler.
function(zk_qt_strings)
  foreach(target IN LISTS ARGN)
    target_compile_definitions(${target} PRIVATE QT_NO_CAST_FROM_ASCII)
  endforeach()
endfunction()
