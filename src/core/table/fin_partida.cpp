// FinPartida: the three endings told as scenes.
#include "table/fin_partida.hpp"

namespace veldrisa {

void FinPartida(Form1& f, int Desenlace, int Ganador) {
    switch (Desenlace) {
    case 1:
        f.Habla("Tras salir en plena noche de la casa, " + f.P(Ganador).Nombre +
                " se presenta a primera hora  en las oficinas de Mister John Dóberman. - ¿Así que es usted "
                "finalmente quien se convertirá en multimillonario? ¡Mi enhorabuena! Fírmeme aquí y aquí y yo "
                "me encargaré de que sus parientes dejen la casa inmediatamente para que pueda entrar a vivir "
                "cuanto antes. ¡Ah! y ya sabe  que nuestra firma ha representado a su familia durante "
                "generaciones, esperamos seguir teniendo su confianza");
        break;
    case 2:
        f.Habla(
            "El señor Dóberman, al llegar por la mañana como de costumbre, descubre que no queda nadie vivo en la "
            "casa. - ¡Qué familia tan curiosa! han preferido matarse entre ellos que llegar a un acuerdo y "
            "repartir la fortuna. En fin, el dinero le vendrá muy bien a la sociedad protectora de animales. -  "
            "Y diciendo ésto, cierra de nuevo la casa y se marcha.");
        break;
    case 3: {
        int superviviente = 1;
        while (superviviente < NumPersonajes && !f.P(superviviente).Vivo) ++superviviente;
        f.Habla("Mister John Dóberman llega a la casa como todas las mañanas y finalmente sólo encuentra a una "
                "persona desaiunando. - Bien, así que es usted, " +
                f.P(superviviente).Nombre +
                " quien recibirá la fortuna. Mi Enhorabuena. Aquí tiene las llaves de su casa, y si me firma "
                "aquí y aquí todo quedará    cerrado. Me alegro de que este fastidioso asunto se haya resuelto  "
                "a su favor. Mucha suerte, y ya sabe que nuestra firma ha representado a su familia durante "
                "muchas generaciones...");
        break;
    }
    default: break;
    }
    f.Habla("La partida ha terminado, pulse 1 para volver a empezar o escape  para salir.", true, false);
    f.mesa.Fase = Fases::FinPartida;
}

}  // namespace veldrisa
