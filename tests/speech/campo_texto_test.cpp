// The name field by ear: what each key does to the text and what the player hears of it.
#include "speech/campo_texto.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/recording/platform.hpp"
#include "ports/keys.hpp"

namespace veldrisa {
namespace {

using namespace Tecla;

// A field on the recording stand-ins, driven key by key and typed into.
struct Campo {
    explicit Campo(std::string_view inicial) : c(AbreCampo("Título", "Indicación", inicial)) {}
    SalidaCampo tecla(int t, int mods = 0) { return TeclaCampo(v, c, t, mods); }
    Campo& teclas(std::initializer_list<int> ts) {
        for (int t : ts) tecla(t);
        return *this;
    }
    Campo& escribe(std::string_view texto) {
        EscribeEnCampo(v, c, texto);
        return *this;
    }
    std::vector<std::string> oido() const {
        std::vector<std::string> out;
        for (const auto& e : p.recorder.events)
            if (e.kind == EventKind::Said) out.push_back(e.text);
        return out;
    }

    RecordingPlatform p;
    Voz v{&p.speech, &p.observer};
    CampoTexto c;
};

using Oido = std::vector<std::string>;

TEST(CampoTexto, SpeaksWhatIsTypedAndDeleted) {
    Campo f("");
    f.escribe("Z")
        .escribe("o")
        .escribe(" ")
        .escribe("ë")
        .teclas({Retroceso, Retroceso})
        .escribe("é")
        .teclas({Arriba});
    EXPECT_EQ(f.c.Texto, "Zoé");
    EXPECT_EQ(f.oido(),
              (Oido{"mayúscula Z", "o", "espacio", "ë", "borrado ë", "borrado espacio", "é", "Zoé"}));
    EXPECT_EQ(f.tecla(Enter), SalidaCampo::Acepta);
    EXPECT_EQ(f.tecla(Escape), SalidaCampo::Cancela);
    EXPECT_TRUE(f.p.recorder.events.size() > 0 && f.oido().size() == 8u)
        << "Enter and Escape say nothing themselves";
}

TEST(CampoTexto, TheInitialTextIsSelectedReplacedByTypingOrClearedAtOnce) {
    Campo typed("Tom, el mayordomo");
    typed.escribe("A").escribe("na");
    EXPECT_EQ(typed.c.Texto, "Ana");

    Campo cleared("Tom");
    cleared.teclas({Retroceso, Retroceso});
    EXPECT_EQ(cleared.c.Texto, "");
    EXPECT_EQ(cleared.oido(), (Oido{"borrado Tom", "vacío"}));

    Campo moved("Tom");
    moved.teclas({Fin}).escribe("s");
    EXPECT_EQ(moved.c.Texto, "Toms") << "after a move the text is kept and typing goes on at its end";
}

TEST(CampoTexto, TheCursorMovesLikeAScreenReadersAndSpeaksTheCharacterReached) {
    Campo f("Ña Zoë");
    f.teclas({Izquierda, Derecha, Derecha}).escribe("B");
    f.teclas({Inicio, Retroceso, Suprimir, Fin, Suprimir, Izquierda, Retroceso, Abajo});
    EXPECT_EQ(f.c.Texto, "aB Zë");
    EXPECT_EQ(f.oido(), (Oido{"mayúscula Ñ", "a", "espacio", "mayúscula B", "mayúscula Ñ", "inicio",
                              "borrado mayúscula Ñ", "en blanco", "en blanco", "ë", "borrado o", "aB Zë"}));

    Campo empty("");
    empty.teclas({Izquierda, Fin, Retroceso});
    EXPECT_EQ(empty.oido(), (Oido{"vacío", "vacío", "vacío"}));
}

TEST(CampoTexto, ControlMovesAndDeletesByWords) {
    Campo f("Doña Rosa la prima");
    f.tecla(Fin);
    f.tecla(Izquierda, ModControl);
    f.tecla(Izquierda, ModControl);
    EXPECT_EQ(f.c.Cursor, std::string("Doña Rosa ").size());
    f.tecla(Derecha, ModControl);
    f.tecla(Retroceso, ModControl);
    EXPECT_EQ(f.c.Texto, "Doña Rosa prima");
    f.tecla(Inicio);
    f.tecla(Suprimir, ModControl);
    EXPECT_EQ(f.c.Texto, "Rosa prima");
    EXPECT_EQ(f.oido(),
              (Oido{"en blanco", "prima", "la", "prima", "borrado la ", "mayúscula D", "borrado Doña "}));
}

TEST(CampoTexto, ControlSilencesAndF1NamesTheKeys) {
    Campo f("Tom");
    f.tecla(Control, ModControl);
    f.tecla(F1);
    ASSERT_GE(f.oido().size(), 2u);
    EXPECT_EQ(f.oido()[0], "") << "the silence, as the voice key gives it";
    EXPECT_NE(f.oido()[1].find("Enter aceptar"), std::string::npos);
    EXPECT_EQ(f.c.Texto, "Tom");
    EXPECT_TRUE(f.c.Seleccionado) << "neither key touched the text";
    f.tecla(Tabulador);
    f.tecla(A, ModAlt);
    EXPECT_EQ(f.oido().size(), 2u) << "keys the field has no use for say nothing";
}

TEST(CampoTexto, ControlCharactersAndBrokenBytesNeverReachTheText) {
    Campo f("Ana\x01\x1b");
    EXPECT_EQ(f.c.Texto, "Ana");
    f.tecla(Fin);
    f.escribe("\x16");  // what Control+V types in some windows
    f.escribe("\x7f\xc2\x85");
    f.escribe("\xff!");
    EXPECT_EQ(f.c.Texto, "Ana\xEF\xBF\xBD!");
    EXPECT_EQ(f.oido(), (Oido{"en blanco", "\xEF\xBF\xBD!"})) << "nothing typed, nothing said";
}

TEST(CampoTexto, NothingBeyondTheLimitIsTakenAndThePlayerIsTold) {
    Campo f("");
    f.escribe(std::string(LargoMaximoCampo - 2, 'n'));
    f.escribe("ñañ");
    EXPECT_EQ(f.c.Texto, std::string(LargoMaximoCampo - 2, 'n') + "ña");
    EXPECT_EQ(f.oido().back(), "ña. Máximo de 100 caracteres");
    f.escribe("x");
    EXPECT_EQ(f.oido().back(), "Máximo de 100 caracteres");
    f.teclas({Retroceso}).escribe("é");
    EXPECT_EQ(f.c.Texto.substr(f.c.Texto.size() - 4), "ñé") << "room made by a deletion is taken again";

    Campo huge(std::string(20000, 'n') + "ñ");
    huge.teclas({Inicio, Fin, Retroceso});
    EXPECT_EQ(huge.c.Texto, std::string(20000, 'n')) << "a longer text kept from before is edited whole";
}

}  // namespace
}  // namespace veldrisa
