// The views of the setup screen, the game log and the name field, read from the program's state.
#include "app/vista.hpp"

namespace veldrisa {
namespace {

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

}  // namespace

View Vista(Programa& programa) {
    View view;
    if (programa.pantalla() == Pantalla::Inicio) view.screen = VistaInicio(programa);
    if (programa.pantalla() == Pantalla::Juego)
        view.screen = LogView{programa.form1.mesa.Label1, AyudaEscrita(programa.Ayuda())};
    if (programa.pantalla() == Pantalla::EnLinea) view = programa.enLinea()->Vista();
    if (const CampoTexto* c = programa.Campo())
        view.field = FieldView{c->Titulo, c->Indicacion, c->Texto, c->Cursor, c->Seleccionado};
    return view;
}

}  // namespace veldrisa
