// The views of the setup screen and of the game log, read from the program's state.
#include "app/vista.hpp"

namespace veldrisa {

SetupView VistaInicio(Programa& programa) {
    SetupView view;
    for (std::size_t i = 0; i < view.names.size(); ++i) {
        view.names[i] = programa.Personajes[i + 1].Nombre;
        view.selected[i] = programa.Personajes[i + 1].Controlado;
    }
    view.cursor = programa.formIni.PersonajeActual;
    view.help = AyudaEscrita(programa.Ayuda());
    return view;
}

LogView VistaJuego(Programa& programa) {
    return LogView{programa.form1.mesa.Label1, AyudaEscrita(programa.Ayuda())};
}

}  // namespace veldrisa
