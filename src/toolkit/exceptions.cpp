#include "toolkit/exceptions.h"

#include <exception>

std::string WindowCreationFailure(const std::string& window, const std::string& reason) {
    std::string text = "Das Fenster " + window + " konnte nicht erstellt werden.";
    if (!reason.empty()) {
        text += "\r\n" + reason;
    }
    return text;
}

std::string CurrentExceptionText() {
    try {
        throw;
    } catch (const std::exception& failure) {
        return failure.what();
    } catch (...) {
        return "Unbekannter Fehler";
    }
}
