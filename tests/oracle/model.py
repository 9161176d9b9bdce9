# Independent model of the game's rules: reads what the scripted-play tool reads and writes the events it writes.

import json
import sys
import time

MOD24 = 1 << 24

# ---------------------------------------------------------------------------
# The one random generator of the program.


class Generador:
    def __init__(self):
        self.x = 327680

    def siembra(self, s):
        self.x = s % MOD24

    def avanza(self):
        self.x = (1140671485 * self.x + 12820163) % MOD24
        return self.x

    def entero(self, n):
        """Int(r * n) computed exactly from the new state."""
        return (self.avanza() * n) // MOD24

    def menor_que_medio(self):
        return self.avanza() < (1 << 23)


# ---------------------------------------------------------------------------
# Fixed data.

NOMBRES = [
    "Nadie en especial",
    "Micifú, el gato andalú",
    "Sir Thomas, el apenado marido",
    "Jenniffer, la hija pija",
    "William, el hijo rockero",
    "Lady Mary Simmons la cotilla, su mejor amiga",
    "Bautista, el chófer",
    "Tom, el mayordomo",
    "Miss Jane Hairton, su peluquera de toda la vida",
    "Miss Pamela Skystar, su vidente personal",
    "Mister Harry Gold, su banquero de confianza",
]

SALAS = {1: "El salón", 2: "La cocina", 3: "La biblioteca", 4: "El dormitorio"}

FRASE_MUERTE = {
    1: " en extrañas circunstancias. ",
    2: " debido a un lamentable accidente. ",
    3: "aunque no sé cómo murió. ",
    4: " por lo cual les doy mis condolencias. ",
}

_CAMBIO_HEREDERO = ("Cambio de heredero: Dispone de papeles que demuestran que el actual heredero no es "
                    "digno de recibir la herencia. Use esta carta y el heredero pasará a ser el siguiente en la lista")
_CAMBIO_CARTA = ("Cambio de carta: Cree que otro candidato tiene más posibilidades que usted. "
                 "Elija un buen momento, y péguele el cambiazo.")

# (text, kind, with target, room), cards 1..25 in catalogue order.
CARTAS_FIJAS = [
    ("Las llaves: Si usted es el heredero actual, vaya al salón y use esta carta, si nada se interpone se irá "
     "de la casa con la herencia y habrá ganado la partida", 1, False, 1),
    (_CAMBIO_HEREDERO, 2, False, -1),
    (_CAMBIO_HEREDERO, 2, False, -1),
    (_CAMBIO_CARTA, 3, True, -1),
    (_CAMBIO_CARTA, 3, True, -1),
    ("Escondite, dormitorio: Clásico pero eficaz, métase debajo de la cama en el dormitorio y estará a salvo "
     "de malas intenciones.", 4, False, 4),
    ("Escondite, salón: Nadie recuerda ya que empujando el 4º candelabro del salón se abre la trampilla de la "
     "antigua carbonera. Allí estará a salvo de todo.", 4, False, 1),
    ("Escondite, cocina:Entrando por la cocina, al fondo de la despensa queda un hueco en la sombra que es "
     "imposible ver desde fuera.Allí estará a salvo de herederos malintencionados", 4, False, 2),
    ("Escondite, biblioteca: sólo usted conoce ese hueco detrás de la librería de literatura rusa del siglo "
     "XVII. Allí estará a salvo de todo peligro por un rato.", 4, False, 3),
    ("Ataque fuerte, salón: La chimenea del salón siempre está encendida. Elija una víctima, pídele que se "
     "acerque y ¡Zas! láncelo dentro sin remordimientos. Seguro que él también lo haría.", 5, True, 1),
    ("Ataque fuerte, salón: el sofá del salón siempre ha tenido un muelle suelto. Si lo refuerza un poco e "
     "inadvertidamente  empuja a alguien   con un poco de impulso... ¡Zas! estampado contra el techo",
     5, True, 1),
    ("Ataque fuerte, cocina: En la cocina ha encontrado un bote de polvos que tiene una calavera  y unas tibias "
     "grandes y rojas pintadas en él. ¿Qué cree que pasaría si 'accidentalmente' cayera en el bizcocho y uno "
     "de los herederos lo comiera?", 5, True, 2),
    ("Ataque fuerte, cocina: Deberían reparar esa estantería de la cocina. Si alguien la golpea sin darse "
     "cuenta, la olla a presión que está en la balda superior podría caerle a alguien en la cabeza, ¿no cree?",
     5, True, 2),
    ("Ataque fuerte, biblioteca: La biblioteca está espléndidamente iluminada por una espectacular lámpara de "
     "araña que debe pesar al menos 500 libras. Y toda ella está soportada por esta pequeña cuerda... ¿Qué "
     "pasaría si le cayera encima a alguien?", 5, True, 3),
    ("Ataque fuerte, biblioteca:Una espléndida armadura de las cruzadas del siglo XI adorna la biblioteca. Hace "
     "mucho tiempo usted aprendió que si empuja un resorte del brazalete derecho, la armadura baja con gran "
     "fuerza el brazo de la espada con un efecto espectacular y cortando en dos cualquier cosa que se ponga en "
     "su camino. Sería muy fácil invitar a contemplar la armadura a un heredero y pulsar el resorte sin que se "
     "dé cuenta a tiempo.", 5, True, 3),
    ("Ataque fuerte, dormitorio: Las escaleras  que llevan al dormitorio tienen una trampilla en uno de los "
     "últimos escalones que se suelta al pulsar un resorte. Si alguien apoya su peso encima cuando está suelta "
     "sabrá qué  se siente al caer desde 20 metros de altura, y ahora  usted sabe dónde está exactamente el "
     "resorte que activa esa trampilla.", 5, True, 4),
    ("Ataque fuerte, dormitorio: El que mandó instalar la moderna caja fuerte del dormitorio tenía unas ideas "
     "muy retorcidas. Si desde que se descorre el cuadro que tapa la caja pasan más de 20 segundos hasta que se "
     "abre la caja, ésta lanza dos dardos envenenados hacia el cuello de la persona que esté delante. Piensa "
     "que esta no es una historia muy difundida, y quizá alguno de estos codiciosos herederos esté interesado "
     "en la caja. ¿No le parece?", 5, True, 4),
    ("Ataque débil, Revólver: Es una pieza curiosa, creada en los tiempos del salvaje oeste, pero que ahora le "
     "permitirá intentar librarse de uno de los herederos.", 6, True, -1),
    ("Ataque débil, pistola: Elija un buen punto para ocultarse, y cuando un heredero le de la espalda, ¡zas! "
     "un desafortunado accidente ocurrirá.", 6, True, -1),
    ("Ataque débil, cuchillo: En uno de sus momentos extravagantes de la juventud usted aprendió cómo lanzar el "
     "cuchillo con gran fuerza y precisión.¿Qué podría ocurrir si 'por error' uno de los herederos se "
     "interpusiera entre usted y su blanco?", 6, True, -1),
    ("Ataque débil, cerbatana amazónica: En una de las vueltas que da por la casa ha encontrado una cerbatana y "
     "sus dardos envenenados. No puede resistir la tentación, tiene que probar a hacer un disparo. ¿y qué mejor "
     "blanco que otro de los herederos?", 6, True, -1),
    ("Ataque débil, ballesta: Uno de esos artilugios de hace un montón de años, pero que sigue siendo tan letal "
     "como siempre.", 6, True, -1),
    ("Ataque débil, Piel de plátano: Sí, no es algo muy digno, pero... bien pensado... ¿qué mejor manera de "
     "simular un accidente podría encontrar?", 6, True, -1),
    ("Ataque débil, tirachinas: Nadie supera su habilidad con este arma milenaria, en cuanto alguien se ponga a "
     "tiro, ¡Zas!", 6, True, -1),
    ("Ataque débil, Guillotina: Un empujón en el momento exacto y cualquiera puede darse un cabezazo contra el "
     "jarrón chino, rebotar y acabar con el cuello dentro de la guillotina y... en fin... otra triste pérdida "
     "en la familia.", 6, True, -1),
]

DEFENSAS_FUERTES = [
    "Sexto sentido: parece que hoy tuviera un sexto sentido que le previene de cualquier amenaza. ",
    "Insomnio: tras una noche de insomnio su carácter está bastante agriado, pero sus sentidos están a pleno "
    "rendimiento para detectar cualquier agresión. ",
    "Sentido arácnido: No, no le ha picado nada, pero nota todo lo que pasa a su alrededor con una sensibilidad "
    "poco frecuente. ",
    "Intuición: ¿Recuerda todas las veces que se ha librado de un accidente por los pelos? parece que tiene una "
    "intuición especial.",
    "Olfato canino: ¿Por qué huelen tanto las cosas? Parece que hoy tiene algo raro en la nariz.",
    "Aura: Desde que se ha levantado siente un aura a su alrededor que le protege de todo.",
    "Chaleco antibalas: Con ésto no habrá quien le roce",
    "Piel de titanio: Su piel tiene hoy un brillo especial. siente que nada podrá dañarle.",
]

DEFENSAS_DEBILES = [
    "Tapa de cazuela: Si la usa como escudo ¿quién podrá golpearle?",
    "Enciclopedia Británica: Está claro, ni una bala la atravesaría.",
    "Maniquí: Si le coloca sus ropas será él quien reciba los ataques, je je.",
    "Bote de laca: Si crea un escudo de humo a su alrededor nadie le podrá alcanzar, aunque su pelo quizá lo sufra.",
    "Una pizca de suerte: Lo justo para esquivar un ataque, nada más.",
    "Espejo de mano: Reflejando la luz a los ojos de su atacante, se podrá librar.",
    "polvos pica-pica: Lo justo para una escapada en el último momento.",
]


class Carta:
    def __init__(self, numero=0, texto="", tipo=0, con_objetivo=False, sala=0):
        self.numero = numero
        self.texto = texto
        self.tipo = tipo
        self.con_objetivo = con_objetivo
        self.sala = sala


def catalogo():
    """Entries 0..40; entry 0 is the empty card."""
    datos = list(CARTAS_FIJAS)
    datos += [("Defensa fuerte, " + t, 7, False, -1) for t in DEFENSAS_FUERTES]
    datos += [("Defensa débil, " + t + ".", 8, False, -1) for t in DEFENSAS_DEBILES]
    assert len(datos) == 40
    cartas = [Carta()]
    for n, (texto, tipo, con, sala) in enumerate(datos, start=1):
        cartas.append(Carta(n, texto, tipo, con, sala))
    return cartas


class Personaje:
    def __init__(self, indice):
        self.indice = indice
        self.nombre = ""
        self.controlado = False
        self.agresivo = False
        self.sala = 0
        self.vivo = False
        self.carta1 = 0
        self.carta2 = 0
        self.elegida = 0
        self.descarta = False
        self.objetivo = 0


class FinPrograma(Exception):
    pass


def numero_decimal(valor):
    """A real number in its shortest form with a decimal comma (2, 2,25)."""
    if valor == int(valor):
        return str(int(valor))
    return repr(valor).replace(".", ",")


def redondeo_par(num, den):
    """num / den rounded to the nearest integer, halves to the even neighbour."""
    q, r = divmod(num, den)
    if 2 * r > den or (2 * r == den and q % 2 == 1):
        q += 1
    return q


def val(texto, desde):
    i = desde
    while i < len(texto) and texto[i] == " ":
        i += 1
    j = i
    while j < len(texto) and texto[j].isdigit() and texto[j] in "0123456789":
        j += 1
    return int(texto[i:j]) if j > i else 0


# ---------------------------------------------------------------------------
# The program.


class Programa:
    def __init__(self, out, seed, voces_instaladas, carpeta):
        self.out = out
        self.seed = seed
        self.siembras = 0
        self.instaladas = list(voces_instaladas)
        self.carpeta = carpeta
        self.rnd = Generador()
        self.pantalla = "setup"
        self.personaje_actual = 0
        self.dialogo_abierto = False
        # Speech layer.
        self.rate = 0
        self.voz_actual = 0
        self.voces = [""]
        self.ultimo = ""
        # Roster.
        self.pj = [Personaje(i) for i in range(11)]
        # Game table.
        self.fase = 0
        self.heredero = 0
        self.num_salas = 0
        self.turno = 0
        self.linea = [0] * 11
        self.mazo = [0] * 41
        self.sala_abierta = {-1: False, 0: False, 1: False, 2: False, 3: False, 4: False}
        self.nombre_sala = {-1: "", 0: "", 1: "", 2: "", 3: "", 4: ""}
        self.ocupantes = {1: "", 2: "", 3: "", 4: ""}
        self.orden = [0]
        self.objetivos = [0] * 11
        self.num_objetivos = 0
        self.corta = False
        self.cartas = [Carta()] * 41
        self.label = ""
        self.ultimo_log = ""

    # -- output -----------------------------------------------------------
    def emite(self, obj):
        self.out.write(json.dumps(obj, ensure_ascii=False, separators=(",", ":")) + "\n")

    def habla(self, texto, antes=False, despues=False):
        if len(texto) > 2:
            self.ultimo = texto
        self.emite({"ev": "say", "text": texto, "before": bool(antes), "after": bool(despues)})

    def sonido(self, jugador, op, nombre=None):
        ev = {"ev": "sound", "player": jugador, "op": op}
        if nombre is not None:
            ev["name"] = nombre
        self.emite(ev)

    def beep(self):
        self.emite({"ev": "beep"})

    def fin_linea(self):
        if self.label != self.ultimo_log:
            self.ultimo_log = self.label
            self.emite({"ev": "log", "text": self.label})

    def salir(self):
        self.emite({"ev": "exit"})
        raise FinPrograma()

    # -- speech controls --------------------------------------------------
    def crea_voces(self):
        self.rate = 0

    def busca_voces(self):
        self.rate = 0
        self.voces = [""]
        for d in self.instaladas:
            if self.voces[-1] != "":
                self.voces.append("")
            self.voces[-1] = d

    def baja_velocidad(self, mods):
        if self.rate <= -50:
            self.habla("Velocidad mínima")
        else:
            self.rate -= 1 if mods else 5
            self.habla("Velocidad de la voz más lenta")

    def sube_velocidad(self, mods):
        if self.rate >= 50:
            self.habla("Velocidad máxima")
        else:
            self.rate += 1 if mods else 5
            self.habla("Velocidad de la voz más rápida")

    def voz_anterior(self):
        self.voz_actual -= 1
        if self.voz_actual < 0:
            self.voz_actual = len(self.voces) - 1
        self.habla(self.voces[self.voz_actual])

    def voz_siguiente(self):
        self.voz_actual += 1
        if self.voz_actual > len(self.voces) - 1:
            self.voz_actual = 0
        self.habla(self.voces[self.voz_actual])

    def calla(self):
        self.habla("")

    # -- setup screen -----------------------------------------------------
    def carga_inicio(self):
        self.emite({"ev": "screen", "name": "setup"})
        self.crea_voces()
        self.busca_voces()
        self.voz_actual = 0
        for i in range(1, 11):
            p = self.pj[i]
            p.nombre = NOMBRES[i]
            p.sala = 1
            p.controlado = False
            p.vivo = True
            p.agresivo = self.rnd.menor_que_medio()
        self.pj[0].nombre = NOMBRES[0]
        self.personaje_actual = 1
        self.habla("La fortuna de Veldrisa. Escoja los personajes que desea controlar y pulse Enter cuando esté listo. "
                   + self.pj[1].nombre + self.estado_palabra(1))

    def estado_palabra(self, i):
        return "Seleccionado" if self.pj[i].controlado else "No seleccionado"

    def anuncia(self, antes=False):
        i = self.personaje_actual
        self.habla(self.pj[i].nombre + self.estado_palabra(i), antes, False)

    def tecla_inicio(self, codigo, mods):
        if codigo == 17:
            self.calla()
        elif codigo in (37, 38):
            self.personaje_actual -= 1
            if self.personaje_actual < 1:
                self.personaje_actual = 10
            self.anuncia()
        elif codigo in (39, 40):
            self.personaje_actual += 1
            if self.personaje_actual > 10:
                self.personaje_actual = 1
            self.anuncia()
        elif codigo == 32:
            p = self.pj[self.personaje_actual]
            p.controlado = not p.controlado
            self.habla(self.estado_palabra(self.personaje_actual))
            if p.controlado:
                self.habla("Pulse f2 si desea cambiar el nombre del personaje", True, False)
        elif codigo == 113:
            p = self.pj[self.personaje_actual]
            self.habla("Escriba el nombre del personaje y pulse enter: " + p.nombre)
            self.emite({"ev": "dialog", "title": "Cambiar el nombre al personaje",
                        "prompt": "Escriba el nombre del personaje y pulse enter:", "text": p.nombre})
            self.dialogo_abierto = True
            self.campo = Campo(self, p.nombre)
        elif codigo == 27:
            self.salir()
        elif codigo == 13:
            self.emite({"ev": "screen", "name": "game"})
            self.pantalla = "game"
            self.personaje_actual = 0
            self.nueva_partida()
        elif codigo == 118:
            self.baja_velocidad(mods)
        elif codigo == 119:
            self.sube_velocidad(mods)
        elif codigo == 120:
            self.voz_anterior()
        elif codigo == 121:
            self.voz_siguiente()
        elif codigo == 115 and mods & 4:
            self.salir()

    def respuesta_dialogo(self, texto):
        self.dialogo_abierto = False
        if texto != "":
            self.pj[self.personaje_actual].nombre = texto
            self.anuncia(True)
        else:
            self.habla("Cancelado")

    # -- game table ---------------------------------------------------------
    def actual(self):
        return self.pj[self.orden[self.turno]]

    def heredero_actual(self):
        return self.linea[self.heredero]

    def texto_carta(self, n):
        t = self.cartas[n].texto
        if self.corta:
            k = t.find(":")
            return t[:k] if k >= 0 else ""
        return t

    def nueva_partida(self):
        self.crea_voces()
        carpeta = self.carpeta if self.carpeta.endswith("/") else self.carpeta + "/"
        self.sonido(1, "file", carpeta + "fuego.wav")
        self.sonido(2, "file", carpeta + "Vaso rompiéndose.mp3")
        self.sonido(3, "file", "Pasar páginas.mp3")
        self.sonido(4, "file", "Ronquido.mp3")
        for s in range(1, 5):
            self.sala_abierta[s] = True
            self.nombre_sala[s] = SALAS[s]
        self.num_salas = 4
        self.nombre_sala[-1] = "Indeterminado"
        self.sala_abierta[-1] = False
        self.carga_datos()
        self.fase = 1
        self.heredero = self.rnd.entero(10) + 1

    def carga_datos(self):
        for i in range(1, 11):
            self.linea[i] = self.pj[i].indice
        for _ in range(100):
            a = self.rnd.entero(9) + 1
            self.linea[a], self.linea[a + 1] = self.linea[a + 1], self.linea[a]
        self.cartas = catalogo()
        self.mazo = [0] * 41
        for j in range(4, 41):
            self.mazo[j - 3] = j
        self.siembras += 1
        if self.seed is None:
            t = time.localtime()
            semilla = t.tm_hour * t.tm_min * t.tm_sec
        else:
            semilla = (self.seed + self.siembras - 1) % (1 << 32)
        self.rnd.siembra(semilla)
        self.baraja()
        for i in range(1, 11):
            self.pj[i].carta1 = self.mazo[i]
            self.mazo[i] = 0
        self.mazo[38], self.mazo[39], self.mazo[40] = 1, 2, 3
        self.compacta()
        self.informe()

    def baraja(self):
        for _ in range(2000):
            a = self.rnd.entero(37) + 1
            b = self.rnd.entero(37) + 1
            self.mazo[a], self.mazo[b] = self.mazo[b], self.mazo[a]

    def compacta(self):
        for i in range(1, 41):
            if self.mazo[i] == 0:
                for j in range(i + 1, 41):
                    if self.mazo[j] != 0:
                        self.mazo[i], self.mazo[j] = self.mazo[j], self.mazo[i]
                        break

    def informe(self):
        self.sonido(3, "stop")
        self.sonido(4, "stop")
        self.sonido(1, "play")
        self.fase = 1
        for s in range(1, 5):
            self.ocupantes[s] = ""
        for i in range(1, 11):
            self.pj[i].sala = -1
            self.pj[i].elegida = 0
        for k in range(1, 11):
            p = self.pj[k]
            if p.vivo:
                if p.carta1 == 0:
                    p.carta1 = self.mazo[k]
                else:
                    p.carta2 = self.mazo[k]
                self.mazo[k] = 0
        self.baraja()
        self.compacta()
        log = ""
        nombres = []
        for i in range(1, 11):
            p = self.pj[i]
            log += p.nombre + ": (" + ("Verdadero" if p.agresivo else "Falso") + ") " + "\r\n"
            if p.vivo:
                log += "- " + self.cartas[p.carta1].texto[:50] + "\r\n"
                log += "- " + self.cartas[p.carta2].texto[:50] + "\r\n"
                nombres.append(p.nombre)
            else:
                log += "(muerto)" + "\r\n"
        self.label = log
        self.habla("Los actuales aspirantes a la fortuna de Veldrisa son: " + "; ".join(nombres)
                   + ". Pulse espacio para continuar.", True, False)

    # -- key dispatcher -----------------------------------------------------
    def tecla_juego(self, codigo, mods):
        if codigo == 17:
            self.calla()
        if not 48 <= codigo <= 57:
            if codigo == 27:
                self.salir()
            elif codigo == 115:
                if mods & 4:
                    self.salir()
            elif codigo in (113, 32):
                pass
            elif codigo == 116:
                self.habla(self.ultimo)
            elif codigo == 117:
                self.corta = not self.corta
                self.habla("Descripción " + (" corta " if self.corta else " larga ") + " de las cartas")
            elif codigo == 118:
                self.baja_velocidad(mods)
            elif codigo == 119:
                self.sube_velocidad(mods)
            elif codigo == 120:
                self.voz_anterior()
            elif codigo == 121:
                self.voz_siguiente()
            elif codigo == 72:
                self.habla("El heredero actual es " + self.pj[self.heredero_actual()].nombre)
            elif codigo == 67:
                if self.fase in (2, 3):
                    c = self.actual()
                    if c.controlado:
                        self.habla("Sus cartas son: 1. " + self.texto_carta(c.carta1) + " y 2. "
                                   + self.texto_carta(c.carta2))
            elif codigo == 80:
                if self.fase == 3:
                    c = self.actual()
                    if c.elegida < 1:
                        self.habla(self.donde_esta(c) + " Recuerde que  sus cartas son: 1. "
                                   + self.texto_carta(c.carta1) + " y 2. " + self.texto_carta(c.carta2)
                                   + ". ¿Qué carta desea utilizar? (pulse 1 o 2, y Si desea descartar una carta "
                                   "sin utilizarla, mantenga pulsada la tecla control)")
        else:
            d = codigo - 48
            if self.fase == 2 and 1 <= d <= self.num_salas and self.actual().sala < 1:
                self.tecla_sala(d)
            elif self.fase == 3 and d in (1, 2) and self.actual().elegida < 1:
                self.tecla_carta(d, mods)
            elif self.fase == 31:
                self.tecla_objetivo(d)
            elif self.fase == 5:
                if d == 1:
                    for i in range(1, 11):
                        self.pj[i].vivo = True
                    self.nueva_partida()
                return
            else:
                self.beep()
        if codigo in (113, 32):
            self.avanza()

    def donde_esta(self, c):
        s = c.sala
        texto = " está en " + self.nombre_sala[s]
        lista = ""
        for i in range(1, 11):
            if i != c.indice and ("0" + str(i) + ";") in self.ocupantes.get(s, ""):
                lista += self.pj[i].nombre + ", "
        if lista:
            texto += " junto a " + lista
        else:
            texto += " y no hay nadie más con usted. "
        return texto

    def tecla_sala(self, d):
        c = self.actual()
        c.sala = d
        self.ocupantes[d] += "0" + str(c.indice) + "; "
        self.fase_salas(False)

    def tecla_carta(self, d, mods):
        c = self.actual()
        c.descarta = False
        c.objetivo = 0
        c.elegida = d
        if mods & 2:
            c.descarta = True
        carta = self.cartas[c.carta1 if d == 1 else c.carta2]
        if c.descarta:
            self.fase_cartas(False)
            return
        t = carta.tipo
        if t in (3, 6):
            pass
        elif t == 5:
            if carta.sala != c.sala:
                self.fase_cartas(False)
                return
        else:
            self.fase_cartas(False)
            return
        self.habla("Elija el jugador con el que va a realizar la acción")
        self.objetivos = [0] * 11
        k = 1
        for i in range(1, 11):
            if i == c.indice or not self.pj[i].vivo:
                continue
            if t == 5 and ("0" + str(i) + "; ") not in self.ocupantes.get(c.sala, ""):
                continue
            self.objetivos[k] = i
            k += 1
        self.num_objetivos = 0
        if k == 1:
            self.habla("No hay ningún heredero  con el que pueda usar esa carta. Pulse espacio para continuar.")
            self.fase_cartas(False)
        else:
            self.lista_objetivos()
            self.fase = 31

    def lista_objetivos(self):
        texto = " Indique con qué heredero desea usar esa carta: "
        k = 1
        while k <= 10 and self.objetivos[k] >= 1:
            texto += str(k) + ". " + self.pj[self.objetivos[k]].nombre + ", "
            self.num_objetivos = k
            k += 1
        self.habla(texto)

    def tecla_objetivo(self, d):
        if d == 0 or d > self.num_objetivos:
            self.habla("Sólo hay " + str(self.num_objetivos)
                       + " objetivos para elegir. Pulse espacio para escuchar sus nombres de nuevo")
            return
        self.actual().objetivo = self.objetivos[d]
        self.fase = 3
        self.fase_cartas(False)

    def avanza(self):
        if self.fase == 2 and self.actual().sala < 1:
            self.habla("Primero debe seleccionar una de las salas. Pulse un número del 1 al " + str(self.num_salas))
            return
        if self.fase == 3 and self.actual().elegida < 1:
            self.habla("Primero debe seleccionar una de las cartas. Pulse la tecla C para escuchar sus cartas y "
                       "después pulse 1 o 2 para elegir una de ellas.")
            return
        if self.fase == 31:
            self.lista_objetivos()
            return
        if self.fase in (1, 2, 3):
            self.fase += 1
            if self.fase == 2:
                self.fase_salas(True)
            elif self.fase == 3:
                self.fase_cartas(True)
            else:
                self.resuelve_dia()

    # -- room phase ---------------------------------------------------------
    def fase_salas(self, primera):
        while True:
            if primera:
                vivos = [i for i in range(1, 11) if self.pj[i].vivo]
                n = len(vivos)
                self.orden = [0] + vivos
                for _ in range(200):
                    c = self.rnd.entero(n - 1) + 1
                    self.orden[c], self.orden[c + 1] = self.orden[c + 1], self.orden[c]
                self.turno = 1
                primera = False
            else:
                n = len(self.orden) - 1
                self.turno += 1
                if self.turno > n:
                    self.turno = n
            n = len(self.orden) - 1
            p = self.pj[self.orden[self.turno]]
            if p.controlado:
                if p.sala == -1:
                    self.habla(p.nombre + ", es su turno de jugar. Sus cartas son: 1. " + self.texto_carta(p.carta1)
                               + " y 2. " + self.texto_carta(p.carta2)
                               + ". ¿A qué habitación desea ir? (pulse el número correspondiente)."
                               + "".join(str(a) + ". " + self.nombre_sala[a] + ", "
                                         for a in range(1, 5) if self.sala_abierta[a]))
                    self.fase = 2
                    return
            else:
                self.elige_sala(p)
            if self.turno < n:
                continue
            log = ""
            for s in range(1, 5):
                log += self.nombre_sala[s] + "\r\n"
                for k in range(1, 11):
                    if ("0" + str(k) + ";") in self.ocupantes[s]:
                        log += self.pj[k].nombre + "; "
                log += "\r\n"
            self.label = log
            self.habla("salas asignadas. Pulse espacio  para continuar ")
            return

    def abierta(self, s):
        return self.sala_abierta.get(s, False)

    def elige_sala(self, p):
        if p.carta2 < p.carta1:
            p.carta1, p.carta2 = p.carta2, p.carta1
        c1, c2 = self.cartas[p.carta1], self.cartas[p.carta2]
        k1, k2, s1, s2 = c1.tipo, c2.tipo, c1.sala, c2.sala
        sala = -1
        if k1 == k2:
            if s1 != -1:
                sala = s1
        else:
            comb = 10 * k1 + k2
            if 12 <= comb <= 18:
                if p.indice == self.heredero_actual():
                    sala = 1
                elif self.abierta(s2):
                    sala = s2
            elif 23 <= comb <= 28 or 34 <= comb <= 38:
                if self.abierta(s2):
                    sala = s2
            elif comb == 45:
                if self.abierta(s2) and p.agresivo:
                    sala = s2
                elif self.abierta(s1):
                    sala = s1
            elif comb in (46, 47, 48, 56, 58):
                if self.abierta(s1):
                    sala = s1
            elif comb == 57:
                if self.abierta(s1) and p.agresivo:
                    sala = s1
        if not self.abierta(sala):
            while True:
                sala = self.rnd.entero(4) + 1
                if self.abierta(sala):
                    break
        p.sala = sala
        self.ocupantes[sala] += "0" + str(p.indice) + "; "

    # -- card phase ---------------------------------------------------------
    def fase_cartas(self, primera):
        while True:
            n = len(self.orden) - 1
            if primera:
                self.turno = 1
                primera = False
            else:
                self.turno += 1
                if self.turno > n:
                    self.turno = n
            p = self.pj[self.orden[self.turno]]
            if p.controlado:
                self.sonido(1, "stop")
                self.sonido(3, "stop")
                self.sonido(4, "stop")
                self.sonido(p.sala, "play")
                if p.elegida < 1:
                    self.habla(p.nombre + ", es su turno de jugar." + self.donde_esta(p)
                               + " Recuerde que  sus cartas son: 1. " + self.texto_carta(p.carta1) + " y 2. "
                               + self.texto_carta(p.carta2)
                               + ". ¿Qué carta desea utilizar? (pulse 1 o 2, y Si desea descartar una carta sin "
                               "utilizarla, mantenga pulsada la tecla control)")
                    self.fase = 3
                    return
            else:
                self.elige_carta(p)
                self.elige_objetivo(p)
            if self.turno < n:
                continue
            log = "Carttas seleccionadas " + "\r\n"
            for m in range(1, n + 1):
                q = self.pj[self.orden[m]]
                c = q.carta1 if q.elegida == 1 else q.carta2
                largo = len(self.ocupantes[q.sala])
                log += (q.nombre + "(En " + self.nombre_sala[q.sala] + " " + numero_decimal(largo / 4)
                        + ") usa la carta " + self.cartas[c].texto[:30] + " contra "
                        + self.pj[q.objetivo].nombre + "\r\n")
            self.label = log
            self.habla("cartas seleccionadas. Pulse espacio para continuar")
            return

    def azar12(self):
        return self.rnd.entero(2) + 1

    def elige_carta(self, p):
        k1 = self.cartas[p.carta1].tipo
        k2 = self.cartas[p.carta2].tipo
        comb = 10 * k1 + k2
        heredero = p.indice == self.heredero_actual()
        if 12 <= comb <= 18:
            e = 1 if heredero else 2
        elif comb == 23:
            e = 2 if heredero else self.azar12()
        elif comb in (24, 25, 27, 34, 35, 37):
            e = 2
        elif comb in (26, 28):
            e = 2 if heredero else 1
        elif comb in (36, 38):
            e = self.azar12()
        elif comb == 45:
            e = 2 if p.agresivo else 1
        elif comb in (46, 47, 48, 56, 58):
            e = 1
        elif comb == 57:
            e = 1 if p.agresivo else 2
        elif comb == 67:
            e = 2
        elif comb == 68:
            e = 1 if p.agresivo else 2
        else:
            e = 1
        p.elegida = e

    def elige_objetivo(self, p):
        c = self.cartas[p.carta1 if p.elegida == 1 else p.carta2]
        p.objetivo = 0
        if not c.con_objetivo:
            return
        if c.sala != -1:
            ocup = self.ocupantes[p.sala]
            largo = len(ocup)
            if largo <= 5:
                return
            while True:
                m = redondeo_par(largo, 4)
                i = self.rnd.entero(m)
                p.objetivo = val(ocup, 4 * i)
                if p.objetivo != p.indice:
                    break
        else:
            while True:
                p.objetivo = self.rnd.entero(10) + 1
                if p.objetivo != p.indice and self.pj[p.objetivo].vivo:
                    break

    # -- the night ----------------------------------------------------------
    def resuelve_dia(self):
        self.sonido(3, "stop")
        self.sonido(4, "stop")
        self.sonido(1, "play")
        acc = [[0] * 11 for _ in range(5)]
        for j in range(1, 11):
            p = self.pj[j]
            if not p.vivo:
                continue
            acc[1][j] = j
            if p.elegida == 1:
                acc[2][j] = p.carta1
            elif p.elegida == 2:
                acc[2][j] = p.carta2
            acc[3][j] = self.cartas[acc[2][j]].tipo
            if p.descarta:
                acc[3][j] = 0
            acc[4][j] = p.objetivo
        balance = [0.0] * 11
        noticias = ""
        h0 = self.heredero
        for j in range(1, 11):
            if acc[3][j] == 2:
                self.heredero = self.heredero % 10 + 1
                while not self.pj[self.heredero_actual()].vivo:
                    self.heredero = self.heredero % 10 + 1
        if self.heredero != h0:
            noticias = ("Tras la aparición de unos papeles incriminatorios, el heredero de la fortuna ha pasado a ser "
                        + self.pj[self.heredero_actual()].nombre + ". " + "\r\n")
        for j in range(1, 11):
            t = acc[3][j]
            if t == 4:
                balance[j] += 50
            elif t == 5:
                balance[acc[4][j]] -= 2
            elif t == 6:
                balance[acc[4][j]] -= 1.5
            elif t == 7:
                balance[j] += 2
            elif t == 8:
                balance[j] += 1.5
        for j in range(1, 11):
            if balance[j] < 0:
                p = self.pj[j]
                p.vivo = False
                if p.controlado:
                    self.describe_ataque(j, acc)
                noticias += p.nombre + " ha muerto en " + self.nombre_sala[p.sala] + FRASE_MUERTE[p.sala] + "\r\n"
                if self.heredero_actual() == j:
                    hallado = False
                    for _ in range(12):
                        self.heredero = self.heredero % 10 + 1
                        if self.pj[self.heredero_actual()].vivo:
                            hallado = True
                            break
                    if not hallado:
                        self.fin_partida(2, -1)
                        return
        h = self.heredero_actual()
        if self.pj[h].vivo and acc[3][h] == 1:
            self.fin_partida(1, h)
            return
        for j in range(1, 11):
            p = self.pj[j]
            if p.elegida == 1:
                p.carta1, p.carta2 = p.carta2, p.carta1
            k = self.mazo.index(0, 1)
            self.mazo[k] = p.carta2
            p.carta2 = 0
        for j in range(1, 11):
            if acc[3][j] == 3:
                t = self.pj[acc[4][j]]
                p = self.pj[j]
                p.carta1, t.carta1 = t.carta1, p.carta1
        v = sum(1 for i in range(1, 11) if self.pj[i].vivo)
        if self.sala_abierta[4] and v < 7:
            self.sala_abierta[4] = False
            self.num_salas = 3
            noticias += (" Debo informarles, me temo, de que se ha cerrado " + self.nombre_sala[4]
                         + " al uso mientras se aclaran los acontecimientos que están teniendo lugar en esta casa. "
                         "Espero que no disturbe demasiado a los señores.")
        if self.sala_abierta[3] and v < 5:
            self.sala_abierta[3] = False
            self.num_salas = 2
            if "disturbe" in noticias:
                noticias += " Asimismo ha sido necesario cerrar al uso la biblioteca por problemas de calefacción."
            else:
                noticias += (" Debo informarles, me temo, de que se ha cerrado " + self.nombre_sala[3]
                             + " al uso por problemas de calefacción. Espero que no disturbe demasiado a los señores.")
        if self.sala_abierta[2] and v < 4:
            self.sala_abierta[2] = False
            self.num_salas = 1
            if "distur" in noticias:
                noticias += (" Lamentablemente, también ha sido necesario cerrar  la cocina de la mansión por "
                             "diferentes motivos.")
            else:
                noticias += (" Debo informarles, me temo, de que se ha cerrado " + self.nombre_sala[2]
                             + " al uso por quejas recibidas de los cocineros. Espero que no disturbe demasiado a "
                             "los señores.")
        for k in range(1, 41):
            s = self.cartas[self.mazo[k]].sala
            if 1 <= s <= 4 and not self.sala_abierta[s]:
                self.mazo[k] = 0
        self.compacta()
        nombre_h = self.pj[self.heredero_actual()].nombre
        largo = ("Un nuevo día comienza y Mister John Doberman, albacea del testamento y perteneciente al bufete "
                 "Cats and Dogs, se presenta cuando todo el grupo está reunido desaiunando. ")
        if noticias:
            apertura = ("Mister John Doberman trae nuevas noticias por la mañana:" if self.corta
                        else largo + "Tengo nuevas noticias para ustedes: ")
            texto = (apertura + noticias + ". Como ustedes ya sabrán, el heredero que actualmente es el primero en la "
                     "línea de sucesión es, en estos momentos, " + nombre_h + ". Que pasen  un día muy feliz.")
        elif not self.corta:
            texto = (largo + "Sólo me he acercado para recordarles que el heredero que actualmente es el primero en "
                     "la línea de sucesión es, en estos momentos,  " + nombre_h + ". Que pasen  un día muy feliz.")
        else:
            texto = "Mister John Doberman dice: "
        if v > 1:
            self.habla(texto)
            self.informe()
        else:
            self.fin_partida(3, -1)

    def describe_ataque(self, victima, acc):
        atacantes = ""
        for i in range(1, 11):
            if acc[3][i] in (5, 6) and acc[4][i] == victima:
                if atacantes:
                    atacantes += " y de "
                atacantes += self.pj[i].nombre
        v = self.pj[victima]
        self.habla(v.nombre + " cuando estaba en " + self.nombre_sala[v.sala] + " ha recibido un ataque de "
                   + atacantes + " que le elimina definitivamente como aspirante a la fortuna de Veldrisa",
                   True, True)

    def fin_partida(self, desenlace, ganador):
        if desenlace == 1:
            self.habla("Tras salir en plena noche de la casa, " + self.pj[ganador].nombre
                       + " se presenta a primera hora  en las oficinas de Mister John Dóberman. - ¿Así que es usted "
                       "finalmente quien se convertirá en multimillonario? ¡Mi enhorabuena! Fírmeme aquí y aquí y yo "
                       "me encargaré de que sus parientes dejen la casa inmediatamente para que pueda entrar a vivir "
                       "cuanto antes. ¡Ah! y ya sabe  que nuestra firma ha representado a su familia durante "
                       "generaciones, esperamos seguir teniendo su confianza")
        elif desenlace == 2:
            self.habla("El señor Dóberman, al llegar por la mañana como de costumbre, descubre que no queda nadie "
                       "vivo en la casa. - ¡Qué familia tan curiosa! han preferido matarse entre ellos que llegar a "
                       "un acuerdo y repartir la fortuna. En fin, el dinero le vendrá muy bien a la sociedad "
                       "protectora de animales. -  Y diciendo ésto, cierra de nuevo la casa y se marcha.")
        else:
            i = next(i for i in range(1, 11) if self.pj[i].vivo)
            self.habla("Mister John Dóberman llega a la casa como todas las mañanas y finalmente sólo encuentra a una "
                       "persona desaiunando. - Bien, así que es usted, " + self.pj[i].nombre
                       + " quien recibirá la fortuna. Mi Enhorabuena. Aquí tiene las llaves de su casa, y si me "
                       "firma aquí y aquí todo quedará    cerrado. Me alegro de que este fastidioso asunto se haya "
                       "resuelto  a su favor. Mucha suerte, y ya sabe que nuestra firma ha representado a su "
                       "familia durante muchas generaciones...")
        self.habla("La partida ha terminado, pulse 1 para volver a empezar o escape  para salir.", True, False)
        self.fase = 5

    # -- snapshot -----------------------------------------------------------
    def estado(self):
        def pj(p):
            return {"Nombre": p.nombre, "Controlado": p.controlado, "Agresivo": p.agresivo, "Vivo": p.vivo,
                    "Descarta": p.descarta, "Sala": p.sala, "Carta1": p.carta1, "Carta2": p.carta2,
                    "CartaElegida": p.elegida, "Objetivo": p.objetivo}
        return {
            "ev": "state",
            "screen": self.pantalla,
            "PersonajeActual": self.personaje_actual,
            "Fase": self.fase,
            "Heredero": self.heredero,
            "NumSalas": self.num_salas,
            "Turno": self.turno,
            "LineaSucesion": self.linea[1:11],
            "Mazo": self.mazo[1:41],
            "SalaAbierta": [self.sala_abierta[s] for s in range(1, 5)],
            "OcupantesSala": [self.ocupantes[s] for s in range(1, 5)],
            "OrdenDia": self.orden[1:],
            "DescripcionCorta": self.corta,
            "Rate": self.rate,
            "VozActual": self.voz_actual,
            "Voces": list(self.voces),
            "UltimoMensaje": self.ultimo,
            "Personajes": [pj(p) for p in self.pj],
        }

    def tecla(self, codigo, mods):
        if self.pantalla == "setup":
            self.tecla_inicio(codigo, mods)
        else:
            self.tecla_juego(codigo, mods)


# ---------------------------------------------------------------------------
# Input lines.

NOMBRES_TECLA = {"ENTER": 13, "ESC": 27, "SPACE": 32, "CTRL": 17, "SHIFT": 16, "ALT": 18,
                 "LEFT": 37, "UP": 38, "RIGHT": 39, "DOWN": 40}
for _f in range(1, 13):
    NOMBRES_TECLA["F%d" % _f] = 111 + _f
for _d in range(10):
    NOMBRES_TECLA[str(_d)] = 48 + _d
    NOMBRES_TECLA["KP%d" % _d] = 96 + _d
for _c in range(65, 91):
    NOMBRES_TECLA[chr(_c)] = _c
MODIFICADORES = {"SHIFT": 1, "CTRL": 2, "ALT": 4}


# ---------------------------------------------------------------------------
# The name field driven key by key (FIELD and TYPE lines): what it does to the text and says.

LARGO_MAXIMO = 100
INVISIBLES = [(0x0000, 0x0020), (0x007F, 0x00A0), (0x00AD, 0x00AD), (0x0300, 0x036F), (0x061C, 0x061C),
              (0x115F, 0x1160), (0x1680, 0x1680), (0x180B, 0x180F), (0x1AB0, 0x1AFF), (0x1DC0, 0x1DFF),
              (0x2000, 0x200F), (0x2028, 0x202F), (0x205F, 0x206F), (0x20D0, 0x20FF), (0x3000, 0x3000),
              (0x3164, 0x3164), (0xFE00, 0xFE0F), (0xFE20, 0xFE2F), (0xFEFF, 0xFEFF), (0xFFA0, 0xFFA0),
              (0xFFF0, 0xFFFB), (0xE0000, 0xE007F), (0xE0100, 0xE01EF)]
AYUDA_CAMPO = [("Enter", "aceptar"), ("Escape", "cancelar"),
               ("Izquierda, Derecha, Inicio, Fin", "moverse; con Control, por palabras"),
               ("Retroceso, Suprimir", "borrar"), ("Arriba, Abajo", "leer todo"), ("Control", "callar la voz")]
NOMBRES_CAMPO = {"BACKSPACE": 8, "DELETE": 46, "HOME": 36, "END": 35, "TAB": 9, "INSERT": 45}


def escribible(texto):
    return "".join(c for c in texto if not (ord(c) < 0x20 or 0x7F <= ord(c) < 0xA0))


def visible(texto):
    return any(not any(a <= ord(c) <= b for a, b in INVISIBLES) for c in texto)


def pronunciable(pieza):
    if pieza == " ":
        return "espacio"
    if len(pieza) == 1 and pieza.lower() != pieza:
        return "mayúscula " + pieza
    return pieza


class Campo:
    def __init__(self, prog, inicial):
        self.prog = prog
        self.texto = escribible(inicial)
        self.cursor = len(self.texto)
        self.seleccionado = self.texto != ""

    def dice(self, texto):
        self.prog.emite({"ev": "say", "text": texto, "before": False, "after": False})

    def inicio_palabra_anterior(self, i):
        t = self.texto
        while i > 0 and t[i - 1] == " ":
            i -= 1
        while i > 0 and t[i - 1] != " ":
            i -= 1
        return i

    def inicio_palabra_siguiente(self, i):
        t = self.texto
        while i < len(t) and t[i] != " ":
            i += 1
        while i < len(t) and t[i] == " ":
            i += 1
        return i

    def di_posicion(self, por_palabras):
        t = self.texto
        if t == "":
            self.dice("vacío")
        elif self.cursor >= len(t):
            self.dice("en blanco")
        elif por_palabras:
            fin = self.cursor
            while fin < len(t) and t[fin] != " ":
                fin += 1
            self.dice(pronunciable(t[self.cursor:max(fin, self.cursor + 1)]))
        else:
            self.dice(pronunciable(t[self.cursor]))

    def mueve(self, a, por_palabras):
        self.seleccionado = False
        self.cursor = a
        self.di_posicion(por_palabras)

    def borra(self, atras, por_palabras):
        t = self.texto
        if t == "":
            self.dice("vacío")
            return
        desde, hasta = 0, len(t)
        if not self.seleccionado:
            if atras:
                desde = self.inicio_palabra_anterior(self.cursor) if por_palabras else max(0, self.cursor - 1)
                hasta = self.cursor
            else:
                desde = self.cursor
                hasta = self.inicio_palabra_siguiente(self.cursor) if por_palabras else min(len(t), self.cursor + 1)
        self.seleccionado = False
        if desde == hasta:
            self.dice("inicio" if atras else "en blanco")
            return
        borrado = t[desde:hasta]
        self.texto = t[:desde] + t[hasta:]
        self.cursor = desde
        self.dice("borrado " + pronunciable(borrado))

    def tecla(self, codigo, mods):
        """'acepta', 'cancela', 'sale' or None."""
        por_palabras = bool(mods & 2) and codigo != 17
        t = self.texto
        if codigo == 115 and mods & 4:
            return "sale"
        if codigo == 13:
            return "acepta"
        if codigo == 27:
            return "cancela"
        if codigo == 8:
            self.borra(True, por_palabras)
        elif codigo == 46:
            self.borra(False, por_palabras)
        elif codigo == 37:
            a = 0 if self.seleccionado else (self.inicio_palabra_anterior(self.cursor) if por_palabras
                                            else max(0, self.cursor - 1))
            self.mueve(a, por_palabras)
        elif codigo == 39:
            a = len(t) if self.seleccionado else (self.inicio_palabra_siguiente(self.cursor) if por_palabras
                                                 else min(len(t), self.cursor + 1))
            self.mueve(a, por_palabras)
        elif codigo == 36:
            self.mueve(0, False)
        elif codigo == 35:
            self.mueve(len(t), False)
        elif codigo in (38, 40):
            self.dice(t if t else "vacío")
        elif codigo == 17:
            self.dice("")
        elif codigo == 112:
            self.dice("\r\n\r\n".join(k + " " + a for k, a in AYUDA_CAMPO))
        return None

    def escribe(self, escrito):
        limpio = escribible(escrito)
        if limpio == "":
            return
        if self.seleccionado:
            self.texto, self.cursor, self.seleccionado = "", 0, False
        caben = max(0, LARGO_MAXIMO - len(self.texto))
        sobra = len(limpio) > caben
        limpio = limpio[:caben]
        self.texto = self.texto[:self.cursor] + limpio + self.texto[self.cursor:]
        self.cursor += len(limpio)
        limite = "Máximo de %d caracteres" % LARGO_MAXIMO
        if not sobra:
            self.dice(pronunciable(limpio))
        else:
            self.dice(limite if limpio == "" else pronunciable(limpio) + ". " + limite)


def lee_tecla(texto, campo=False):
    """(code, mask) of a key line, or None when it is not one; campo takes the field's key names too."""
    mods = 0
    resto = texto
    while True:
        for nombre, bit in MODIFICADORES.items():
            prefijo = nombre + "+"
            if resto.startswith(prefijo) and len(resto) > len(prefijo):
                if mods & bit:
                    return None
                mods |= bit
                resto = resto[len(prefijo):]
                break
        else:
            break
    if resto in NOMBRES_TECLA:
        codigo = NOMBRES_TECLA[resto]
    elif campo and resto in NOMBRES_CAMPO:
        codigo = NOMBRES_CAMPO[resto]
    elif resto.startswith("VK") and resto[2:].isdigit() and resto[2:].isascii() and 0 <= int(resto[2:]) <= 255:
        codigo = int(resto[2:])
    else:
        return None
    if codigo == 17 and resto == "CTRL":
        mods |= 2
    return codigo, mods


def error_entrada(numero, problema):
    sys.stdout.flush()
    sys.stderr.write("line %d: %s\n" % (numero, problema))
    sys.exit(2)


def uso():
    sys.stderr.write("usage: model.py [--seed N] [--voice DESC]... [--no-voices] [--folder DIR]\n")
    sys.exit(2)


def main(argv):
    seed = None
    voces = None
    sin_voces = False
    carpeta = "."
    i = 0
    while i < len(argv):
        a = argv[i]
        tiene = i + 1 < len(argv)
        if a == "--seed" and tiene:
            v = argv[i + 1]
            if not v.isascii() or not v.isdigit() or int(v) >= 1 << 32:
                uso()
            seed = int(v)
            i += 2
        elif a == "--voice" and tiene:
            voces = (voces or []) + [argv[i + 1]]
            i += 2
        elif a == "--folder" and tiene:
            carpeta = argv[i + 1]
            i += 2
        elif a == "--no-voices":
            sin_voces = True
            i += 1
        else:
            uso()
    if voces is None:
        voces = ["Voz de prueba"]
    if sin_voces:
        voces = []
    if all(v == "" for v in voces):
        sys.stderr.write("No hay voces avanzadas (SAPI5) instaladas\n")
        sys.exit(1)

    out = sys.stdout
    prog = Programa(out, seed, voces, carpeta)
    try:
        prog.carga_inicio()
        datos = sys.stdin.buffer.read().decode("utf-8", errors="replace")
        lineas = datos.split("\n")
        if lineas and lineas[-1] == "":
            lineas.pop()
        for numero, linea in enumerate(lineas, start=1):
            if linea.endswith("\r"):
                linea = linea[:-1]
            limpia = linea.strip(" \t")
            if limpia == "" or limpia.startswith("#"):
                continue
            if linea.startswith("TYPE ") and prog.dialogo_abierto:
                prog.campo.escribe(linea[5:])
            elif limpia.startswith("FIELD ") and prog.dialogo_abierto:
                t = lee_tecla(limpia[6:].strip(" \t"), campo=True)
                if t is None:
                    error_entrada(numero, "unknown key name in a FIELD line")
                fin = prog.campo.tecla(*t)
                if fin == "sale":
                    prog.salir()
                elif fin == "acepta":
                    prog.respuesta_dialogo(prog.campo.texto if visible(prog.campo.texto) else "")
                elif fin == "cancela":
                    prog.respuesta_dialogo("")
            elif linea.startswith("TYPE ") or limpia.startswith("FIELD "):
                error_entrada(numero, "FIELD or TYPE with no dialog open")
            elif linea.startswith("TEXT "):
                if not prog.dialogo_abierto:
                    error_entrada(numero, "TEXT with no dialog open")
                prog.respuesta_dialogo(linea[5:])
            elif limpia == "CANCEL":
                if not prog.dialogo_abierto:
                    error_entrada(numero, "CANCEL with no dialog open")
                prog.respuesta_dialogo("")
            elif prog.dialogo_abierto:
                error_entrada(numero, "the dialog expects TEXT or CANCEL")
            elif limpia == "STATE":
                prog.emite(prog.estado())
            else:
                t = lee_tecla(limpia)
                if t is None:
                    error_entrada(numero, "unknown key or malformed line: " + limpia)
                prog.tecla(*t)
            prog.fin_linea()
    except FinPrograma:
        pass
    out.flush()
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
