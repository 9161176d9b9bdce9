// The forty cards of the game, AgregaCarta and TextoCarta.
#include "cards/catalogo.hpp"

#include "common/unicode.hpp"

namespace veldrisa {
namespace {

struct DefinicionCarta {
    TipoCarta tipo;
    bool conObjetivo;
    int sala;
    const char* texto;
};

// In card-number order: kinds occupy consecutive runs, which the computer's choices rely on.
const DefinicionCarta Catalogo[NumCartas] = {
    {TipoCarta::Llaves, false, 1, "Las llaves: Si usted es el heredero actual, vaya al salón y use esta carta, si nada se interpone se irá de la casa con la herencia y habrá ganado la partida"},  // 1
    {TipoCarta::CambioHeredero, false, -1, "Cambio de heredero: Dispone de papeles que demuestran que el actual heredero no es digno de recibir la herencia. Use esta carta y el heredero pasará a ser el siguiente en la lista"},  // 2
    {TipoCarta::CambioHeredero, false, -1, "Cambio de heredero: Dispone de papeles que demuestran que el actual heredero no es digno de recibir la herencia. Use esta carta y el heredero pasará a ser el siguiente en la lista"},  // 3
    {TipoCarta::CambioCarta, true, -1, "Cambio de carta: Cree que otro candidato tiene más posibilidades que usted. Elija un buen momento, y péguele el cambiazo."},  // 4
    {TipoCarta::CambioCarta, true, -1, "Cambio de carta: Cree que otro candidato tiene más posibilidades que usted. Elija un buen momento, y péguele el cambiazo."},  // 5
    {TipoCarta::Escondite, false, 4, "Escondite, dormitorio: Clásico pero eficaz, métase debajo de la cama en el dormitorio y estará a salvo de malas intenciones."},  // 6
    {TipoCarta::Escondite, false, 1, "Escondite, salón: Nadie recuerda ya que empujando el 4º candelabro del salón se abre la trampilla de la antigua carbonera. Allí estará a salvo de todo."},  // 7
    {TipoCarta::Escondite, false, 2, "Escondite, cocina:Entrando por la cocina, al fondo de la despensa queda un hueco en la sombra que es imposible ver desde fuera.Allí estará a salvo de herederos malintencionados"},  // 8
    {TipoCarta::Escondite, false, 3, "Escondite, biblioteca: sólo usted conoce ese hueco detrás de la librería de literatura rusa del siglo XVII. Allí estará a salvo de todo peligro por un rato."},  // 9
    {TipoCarta::AtaqueFuerte, true, 1, "Ataque fuerte, salón: La chimenea del salón siempre está encendida. Elija una víctima, pídele que se acerque y ¡Zas! láncelo dentro sin remordimientos. Seguro que él también lo haría."},  // 10
    {TipoCarta::AtaqueFuerte, true, 1, "Ataque fuerte, salón: el sofá del salón siempre ha tenido un muelle suelto. Si lo refuerza un poco e inadvertidamente  empuja a alguien   con un poco de impulso... ¡Zas! estampado contra el techo"},  // 11
    {TipoCarta::AtaqueFuerte, true, 2, "Ataque fuerte, cocina: En la cocina ha encontrado un bote de polvos que tiene una calavera  y unas tibias grandes y rojas pintadas en él. ¿Qué cree que pasaría si 'accidentalmente' cayera en el bizcocho y uno de los herederos lo comiera?"},  // 12
    {TipoCarta::AtaqueFuerte, true, 2, "Ataque fuerte, cocina: Deberían reparar esa estantería de la cocina. Si alguien la golpea sin darse cuenta, la olla a presión que está en la balda superior podría caerle a alguien en la cabeza, ¿no cree?"},  // 13
    {TipoCarta::AtaqueFuerte, true, 3, "Ataque fuerte, biblioteca: La biblioteca está espléndidamente iluminada por una espectacular lámpara de araña que debe pesar al menos 500 libras. Y toda ella está soportada por esta pequeña cuerda... ¿Qué pasaría si le cayera encima a alguien?"},  // 14
    {TipoCarta::AtaqueFuerte, true, 3, "Ataque fuerte, biblioteca:Una espléndida armadura de las cruzadas del siglo XI adorna la biblioteca. Hace mucho tiempo usted aprendió que si empuja un resorte del brazalete derecho, la armadura baja con gran fuerza el brazo de la espada con un efecto espectacular y cortando en dos cualquier cosa que se ponga en su camino. Sería muy fácil invitar a contemplar la armadura a un heredero y pulsar el resorte sin que se dé cuenta a tiempo."},  // 15
    {TipoCarta::AtaqueFuerte, true, 4, "Ataque fuerte, dormitorio: Las escaleras  que llevan al dormitorio tienen una trampilla en uno de los últimos escalones que se suelta al pulsar un resorte. Si alguien apoya su peso encima cuando está suelta sabrá qué  se siente al caer desde 20 metros de altura, y ahora  usted sabe dónde está exactamente el resorte que activa esa trampilla."},  // 16
    {TipoCarta::AtaqueFuerte, true, 4, "Ataque fuerte, dormitorio: El que mandó instalar la moderna caja fuerte del dormitorio tenía unas ideas muy retorcidas. Si desde que se descorre el cuadro que tapa la caja pasan más de 20 segundos hasta que se abre la caja, ésta lanza dos dardos envenenados hacia el cuello de la persona que esté delante. Piensa que esta no es una historia muy difundida, y quizá alguno de estos codiciosos herederos esté interesado en la caja. ¿No le parece?"},  // 17
    {TipoCarta::AtaqueDebil, true, -1, "Ataque débil, Revólver: Es una pieza curiosa, creada en los tiempos del salvaje oeste, pero que ahora le permitirá intentar librarse de uno de los herederos."},  // 18
    {TipoCarta::AtaqueDebil, true, -1, "Ataque débil, pistola: Elija un buen punto para ocultarse, y cuando un heredero le de la espalda, ¡zas! un desafortunado accidente ocurrirá."},  // 19
    {TipoCarta::AtaqueDebil, true, -1, "Ataque débil, cuchillo: En uno de sus momentos extravagantes de la juventud usted aprendió cómo lanzar el cuchillo con gran fuerza y precisión.¿Qué podría ocurrir si 'por error' uno de los herederos se interpusiera entre usted y su blanco?"},  // 20
    {TipoCarta::AtaqueDebil, true, -1, "Ataque débil, cerbatana amazónica: En una de las vueltas que da por la casa ha encontrado una cerbatana y sus dardos envenenados. No puede resistir la tentación, tiene que probar a hacer un disparo. ¿y qué mejor blanco que otro de los herederos?"},  // 21
    {TipoCarta::AtaqueDebil, true, -1, "Ataque débil, ballesta: Uno de esos artilugios de hace un montón de años, pero que sigue siendo tan letal como siempre."},  // 22
    {TipoCarta::AtaqueDebil, true, -1, "Ataque débil, Piel de plátano: Sí, no es algo muy digno, pero... bien pensado... ¿qué mejor manera de simular un accidente podría encontrar?"},  // 23
    {TipoCarta::AtaqueDebil, true, -1, "Ataque débil, tirachinas: Nadie supera su habilidad con este arma milenaria, en cuanto alguien se ponga a tiro, ¡Zas!"},  // 24
    {TipoCarta::AtaqueDebil, true, -1, "Ataque débil, Guillotina: Un empujón en el momento exacto y cualquiera puede darse un cabezazo contra el jarrón chino, rebotar y acabar con el cuello dentro de la guillotina y... en fin... otra triste pérdida en la familia."},  // 25
    {TipoCarta::DefensaFuerte, false, -1, "Defensa fuerte, Sexto sentido: parece que hoy tuviera un sexto sentido que le previene de cualquier amenaza. "},  // 26
    {TipoCarta::DefensaFuerte, false, -1, "Defensa fuerte, Insomnio: tras una noche de insomnio su carácter está bastante agriado, pero sus sentidos están a pleno rendimiento para detectar cualquier agresión. "},  // 27
    {TipoCarta::DefensaFuerte, false, -1, "Defensa fuerte, Sentido arácnido: No, no le ha picado nada, pero nota todo lo que pasa a su alrededor con una sensibilidad poco frecuente. "},  // 28
    {TipoCarta::DefensaFuerte, false, -1, "Defensa fuerte, Intuición: ¿Recuerda todas las veces que se ha librado de un accidente por los pelos? parece que tiene una intuición especial."},  // 29
    {TipoCarta::DefensaFuerte, false, -1, "Defensa fuerte, Olfato canino: ¿Por qué huelen tanto las cosas? Parece que hoy tiene algo raro en la nariz."},  // 30
    {TipoCarta::DefensaFuerte, false, -1, "Defensa fuerte, Aura: Desde que se ha levantado siente un aura a su alrededor que le protege de todo."},  // 31
    {TipoCarta::DefensaFuerte, false, -1, "Defensa fuerte, Chaleco antibalas: Con ésto no habrá quien le roce"},  // 32
    {TipoCarta::DefensaFuerte, false, -1, "Defensa fuerte, Piel de titanio: Su piel tiene hoy un brillo especial. siente que nada podrá dañarle."},  // 33
    {TipoCarta::DefensaDebil, false, -1, "Defensa débil, Tapa de cazuela: Si la usa como escudo ¿quién podrá golpearle?."},  // 34
    {TipoCarta::DefensaDebil, false, -1, "Defensa débil, Enciclopedia Británica: Está claro, ni una bala la atravesaría.."},  // 35
    {TipoCarta::DefensaDebil, false, -1, "Defensa débil, Maniquí: Si le coloca sus ropas será él quien reciba los ataques, je je.."},  // 36
    {TipoCarta::DefensaDebil, false, -1, "Defensa débil, Bote de laca: Si crea un escudo de humo a su alrededor nadie le podrá alcanzar, aunque su pelo quizá lo sufra.."},  // 37
    {TipoCarta::DefensaDebil, false, -1, "Defensa débil, Una pizca de suerte: Lo justo para esquivar un ataque, nada más.."},  // 38
    {TipoCarta::DefensaDebil, false, -1, "Defensa débil, Espejo de mano: Reflejando la luz a los ojos de su atacante, se podrá librar.."},  // 39
    {TipoCarta::DefensaDebil, false, -1, "Defensa débil, polvos pica-pica: Lo justo para una escapada en el último momento.."},  // 40
};

}  // namespace

void AgregaCarta(Mesa& m, std::string_view texto, TipoCarta tipo, bool conObjetivo, int sala) {
    if (m.Cartas.back().Tipo != TipoCarta::Ninguna) m.Cartas.emplace_back();
    Carta& c = m.Cartas.back();
    c.Texto = texto;
    c.FinEnInforme = PrimerosCaracteres(c.Texto, LargoCartaEnInforme).size();
    c.FinEnLog = PrimerosCaracteres(c.Texto, LargoCartaEnLog).size();
    c.Tipo = tipo;
    c.ConObjetivo = conObjetivo;
    c.Sala = sala;
}

void CreaCatalogo(Mesa& m) {
    // Every game starts from the same forty cards: they are worked out once and copied into
    // each new game, whose catalogue keeps the room of the last one for its texts.
    static const std::vector<Carta> cartas = [] {
        Mesa nueva;
        nueva.Cartas.assign(2, Carta{});
        for (const auto& d : Catalogo) AgregaCarta(nueva, d.texto, d.tipo, d.conObjetivo, d.sala);
        return nueva.Cartas;
    }();
    m.Cartas = cartas;
}

std::string TextoCarta(const Mesa& m, int numero) {
    const std::string& texto = m.Cartas.at(static_cast<std::size_t>(numero)).Texto;
    if (!m.DescripcionCorta) return texto;
    // The name alone; a text without a colon (the empty card) has no name.
    auto dosPuntos = texto.find(':');
    return dosPuntos == std::string::npos ? std::string() : texto.substr(0, dosPuntos);
}

}  // namespace veldrisa
