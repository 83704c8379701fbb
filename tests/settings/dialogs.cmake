# The text-input box, the picture buttons, the new-game dialog and the options dialog.
quintaro_add_test(quintaro_dialogs_test
    SOURCES
        DialogTestSupport.cpp
        DialogPictureButtonTest.cpp
        InputBoxTest.cpp
        NewGameDialogTest.cpp
        OptionsDialogTest.cpp
    LIBS quintaro_dialogs Qt6::Test)
