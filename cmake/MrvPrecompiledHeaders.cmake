# Qt's headers, precompiled once per build for every target that uses Qt.
# Parsing them is most of what compiling one of our files costs (four fifths
# of it for a typical widget or test), and scripts/test compiles the tree
# four times on two cores.
#
# GCC takes a precompiled header only where the macros defined when it was
# made are defined alike, and no macro defined since is one the header
# mentions. Our targets add only macros these headers never mention
# (QT_WIDGETS_LIB, QT_TESTLIB_LIB, QT_TESTCASE_BUILDDIR, our own), so one set
# serves them all; CMake adds -Winvalid-pch, which MRV_WERROR makes an error,
# should that ever change.
#
# A precompiled header hides a missing include of what it holds: MRV_PCH=OFF
# builds without, so that one shows (scripts/debian13 builds that way).
option(MRV_PCH "Precompile Qt's headers for the targets that use Qt" ON)

# The headers most of our files include: Qt's core, painting and widgets.
# Qt Test, Network and Svg stay out (the Windows build's Qt has only Test, and
# qtest.h mentions per-target macros).
set(_mrv_pch_headers
    <QObject> <QString> <QStringList> <QByteArray> <QList> <QTimer> <QElapsedTimer>
    <QEvent> <QColor> <QFont> <QImage> <QKeyEvent> <QPainter> <QPalette> <QPixmap>
    <QApplication> <QDialog> <QLabel> <QLineEdit> <QMessageBox> <QPushButton>
    <QRadioButton> <QProgressBar> <QListWidget> <QPlainTextEdit> <QVBoxLayout> <QStyle>
    <QWidget>)

# _mrv_uses_qt(<target> <var>): whether <target> links Qt, itself or through
# one of our libraries.
function(_mrv_uses_qt target var)
    get_property(known GLOBAL PROPERTY _mrv_uses_qt_${target} SET)
    if(known)
        get_property(answer GLOBAL PROPERTY _mrv_uses_qt_${target})
        set(${var} ${answer} PARENT_SCOPE)
        return()
    endif()
    set_property(GLOBAL PROPERTY _mrv_uses_qt_${target} FALSE) # ends a cycle
    set(answer FALSE)
    get_target_property(type ${target} TYPE)
    set(links)
    foreach(property INTERFACE_LINK_LIBRARIES LINK_LIBRARIES)
        if(property STREQUAL "LINK_LIBRARIES" AND type STREQUAL "INTERFACE_LIBRARY")
            continue()
        endif()
        get_target_property(these ${target} ${property})
        if(these)
            list(APPEND links ${these})
        endif()
    endforeach()
    foreach(link IN LISTS links)
        if(link MATCHES "^Qt6::")
            set(answer TRUE)
        elseif(TARGET ${link})
            get_target_property(imported ${link} IMPORTED)
            if(NOT imported)
                _mrv_uses_qt(${link} linked)
                if(linked)
                    set(answer TRUE)
                endif()
            endif()
        endif()
        if(answer)
            break()
        endif()
    endforeach()
    set_property(GLOBAL PROPERTY _mrv_uses_qt_${target} ${answer})
    set(${var} ${answer} PARENT_SCOPE)
endfunction()

function(_mrv_targets_below dir var)
    get_directory_property(targets DIRECTORY ${dir} BUILDSYSTEM_TARGETS)
    get_directory_property(subdirs DIRECTORY ${dir} SUBDIRECTORIES)
    foreach(subdir IN LISTS subdirs)
        _mrv_targets_below(${subdir} below)
        list(APPEND targets ${below})
    endforeach()
    set(${var} ${targets} PARENT_SCOPE)
endfunction()

# _mrv_pch_host(<name> STATIC|EXECUTABLE): a target that only makes the set
# (EXECUTABLE: a Windows window program).
function(_mrv_pch_host name type)
    set(source ${PROJECT_BINARY_DIR}/${name}.cpp)
    file(CONFIGURE OUTPUT ${source} CONTENT "// Only for the precompiled headers.\nint main(int, char **) { return 0; }\n")
    if(type STREQUAL "EXECUTABLE")
        add_executable(${name} WIN32 ${source})
    else()
        add_library(${name} STATIC ${source})
    endif()
    set_target_properties(${name} PROPERTIES AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)
    # GCC also refuses the header where a macro defined when it was made is
    # not defined: it is made with Qt Core's macros, which every Qt target
    # has, and only the include folders of Qt Gui and Widgets.
    target_link_libraries(${name} PRIVATE Qt6::Core)
    target_include_directories(${name} SYSTEM PRIVATE
        $<TARGET_PROPERTY:Qt6::Gui,INTERFACE_INCLUDE_DIRECTORIES>
        $<TARGET_PROPERTY:Qt6::Widgets,INTERFACE_INCLUDE_DIRECTORIES>)
    mrv_warnings(${name})
    target_precompile_headers(${name} PRIVATE ${_mrv_pch_headers})
endfunction()

# Called once, after every target is defined.
function(mrv_precompile_qt_headers)
    if(NOT MRV_PCH)
        return()
    endif()
    _mrv_pch_host(mrv_pch STATIC)
    # Windows window programs get Qt's entry point, whose macro
    # (QT_NEEDS_QMAIN) the headers mention: they take a set made for one.
    if(WIN32)
        _mrv_pch_host(mrv_pch_window_program EXECUTABLE)
    endif()

    _mrv_targets_below(${PROJECT_SOURCE_DIR} targets)
    foreach(target IN LISTS targets)
        get_target_property(type ${target} TYPE)
        if(target MATCHES "^mrv_pch" OR NOT type MATCHES "^(EXECUTABLE|STATIC_LIBRARY|MODULE_LIBRARY|SHARED_LIBRARY|OBJECT_LIBRARY)$")
            continue()
        endif()
        _mrv_uses_qt(${target} uses_qt)
        get_target_property(window_program ${target} WIN32_EXECUTABLE)
        if(uses_qt AND WIN32 AND window_program)
            target_precompile_headers(${target} REUSE_FROM mrv_pch_window_program)
        elseif(uses_qt)
            target_precompile_headers(${target} REUSE_FROM mrv_pch)
        endif()
    endforeach()
endfunction()
