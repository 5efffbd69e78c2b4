#include <gtest/gtest.h>

#include "platform/runtime_error.h"

namespace at {
namespace {

TEST(RuntimeError, EveryKindHasItsSpanishName) {
    const std::pair<ErrorKind, const char*> names[] = {
        {ErrorKind::Overflow, "Desbordamiento"},
        {ErrorKind::TypeMismatch, "No coinciden los tipos"},
        {ErrorKind::FileNotFound, "No se ha encontrado el archivo"},
        {ErrorKind::PastEndOfFile, "Se ha leído más allá del final del archivo"},
        {ErrorKind::PathFileAccess, "Error de acceso a la ruta o al archivo"},
        {ErrorKind::DiskFull, "Disco lleno"},
        {ErrorKind::DivisionByZero, "División por cero"},
        {ErrorKind::DeviceIo, "Error de E/S en el dispositivo"},
    };
    for (const auto& [kind, name] : names) {
        EXPECT_STREQ(spanishName(kind), name);
        EXPECT_EQ(RuntimeError(kind).message().rfind(name, 0), 0u) << name;
    }
}

TEST(RuntimeError, MessageStartsWithTheKindThenTheDetails) {
    RuntimeError e(ErrorKind::TypeMismatch, "La altitud no es un número.");
    e.withFile("/tmp/ruta ñ.plt").withLine(12).withField("altitud (campo 4)").withText("12a");
    EXPECT_EQ(e.message(),
              "No coinciden los tipos\nLa altitud no es un número.\nArchivo: /tmp/ruta ñ.plt\n"
              "Línea: 12\nCampo: altitud (campo 4)\nTexto: «12a»");
    EXPECT_STREQ(e.what(), e.message().c_str());
}

TEST(RuntimeError, DetailClosestToTheFaultIsKept) {
    RuntimeError e(ErrorKind::Overflow);
    e.withLine(7);
    e.withLine(3);
    e.withField("latitud");
    e.withField("otro");
    EXPECT_EQ(e.line(), 7);
    EXPECT_EQ(e.field(), "latitud");
}

TEST(DisplayableText, BytesOfAnyKindBecomeReadableUtf8) {
    EXPECT_EQ(displayableText("13-ao\xFBt-07"), "13-août-07");  // Windows-1252
    EXPECT_EQ(displayableText("Año nuevo"), "Año nuevo");       // UTF-8 stays
    EXPECT_EQ(displayableText(std::string("a\0b\r", 4)), "a\\x00b\\x0D");
    EXPECT_EQ(displayableText("\x80"), "€");
    EXPECT_EQ(displayableText(std::string(100, 'x'), 5), "xxxxx…");
}

}  // namespace
}  // namespace at
