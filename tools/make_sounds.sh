#!/usr/bin/env bash
# Synthesises the four room sounds of the mansion from noise and tones and
# writes them into assets/:
#
#   assets/fuego.wav                  fire crackling, 6 s, loops seamlessly
#   assets/Vaso rompiéndose.mp3       a glass breaking, 2.4 s, plays once
#   assets/Pasar páginas.mp3          pages being turned, 5 s, loops
#   assets/Ronquido.mp3               somebody snoring, 6 s, loops
#
# Needs the Debian packages sox, libsox-fmt-mp3 and lame:
#   apt-get install -y sox libsox-fmt-mp3 lame
#
# The output is repeatable: sox runs with -R (fixed noise seed) and every
# "random" choice below comes from a small fixed-seed generator in this script.
# Run from anywhere: ./tools/make_sounds.sh [output-dir]   (default: assets/)

set -euo pipefail

# ---------------------------------------------------------------- checks --
missing=()
command -v sox  >/dev/null 2>&1 || missing+=(sox)
command -v lame >/dev/null 2>&1 || missing+=(lame)
if command -v sox >/dev/null 2>&1 && ! sox -h 2>/dev/null | grep -q 'FORMATS:.* mp3'; then
    missing+=(libsox-fmt-mp3)
fi
if ((${#missing[@]})); then
    echo "make_sounds.sh: missing package(s): ${missing[*]}" >&2
    echo "install them with: apt-get install -y sox libsox-fmt-mp3 lame" >&2
    exit 1
fi

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
out=${1:-"$here/../assets"}
mkdir -p "$out"
out=$(cd "$out" && pwd)

T=$(mktemp -d)
trap 'rm -rf "$T"' EXIT

RATE=44100
FL=(-e floating-point -b 32)        # intermediate files: float, no clipping
sx() { sox -R -V1 "$@"; }           # -R: repeatable noise and dither

# A fixed-seed linear congruential generator, so the layout of every crackle,
# shard and rustle is the same on every run and every machine.
seed=1
reseed() { seed=$1; }
# between LO HI  ->  R = integer in [LO, HI]
between() {
    seed=$(( (seed * 1103515245 + 12345) & 0x7fffffff ))
    R=$(( $1 + (seed >> 8) % ($2 - $1 + 1) ))
}
ms() { echo $(( $1 * RATE / 1000 )); }     # milliseconds -> samples
tenths() { printf '%d.%d' $(( $1 / 10 )) $(( $1 % 10 )); }   # 125 -> 12.5

# Noise sources, long enough to cut many different snippets from.  With -R
# each sox call starts from the same seed, so different layers are always cut
# from different places.
NOISE_S=40
NOISE_N=$(( NOISE_S * RATE ))
sx -n -r $RATE -c 1 "${FL[@]}" "$T/white.wav" synth $NOISE_S whitenoise gain -3
sx -n -r $RATE -c 1 "${FL[@]}" "$T/pink.wav"  synth $NOISE_S pinknoise  gain -3
sx -n -r $RATE -c 1 "${FL[@]}" "$T/brown.wav" synth $NOISE_S brownnoise gain -3

# snippet SRC LEN OUT EFFECTS...  : LEN samples of SRC noise from a random
# place, through EFFECTS.
snippet() {
    local src=$1 len=$2 dst=$3; shift 3
    between $(( RATE )) $(( NOISE_N - len - RATE ))
    sx "$T/$src.wav" "${FL[@]}" "$dst" trim "${R}s" "${len}s" "$@"
}

# mix OUT IN...  : sum the inputs at their own level (no 1/n scaling).
mix() {
    local dst=$1; shift
    local args=() f
    for f in "$@"; do args+=(-v 1 "$f"); done
    if (($# == 1)); then cp "$1" "$dst"; else sx -m "${args[@]}" "${FL[@]}" "$dst"; fi
}

# loopify IN OUT LEN XF : IN holds LEN+XF samples; OUT holds LEN samples whose
# end runs straight into its start (the extra XF samples are cross-faded, at
# equal power, over the first XF samples).
loopify() {
    local src=$1 dst=$2 len=$3 xf=$4
    sx "$src" "${FL[@]}" "$T/lp_head.wav" trim 0 "${len}s" fade q "${xf}s"
    sx "$src" "${FL[@]}" "$T/lp_tail.wav" trim "${len}s" "${xf}s" \
        fade q 0 "${xf}s" "${xf}s" pad 0 "$(( len - xf ))s"
    mix "$dst" "$T/lp_head.wav" "$T/lp_tail.wav"
}

# stat_of FILE KEY : one number from `sox FILE -n stat`.
stat_of() { sox "$1" -n stat 2>&1 | awk -v k="$2" 'index($0, k) == 1 { print $NF }'; }

# level IN OUT RMS_DB PEAK_DB : gain so the RMS is RMS_DB dBFS, but never let
# the peak above PEAK_DB dBFS.
level() {
    local src=$1 dst=$2 want_rms=$3 max_peak=$4 rms peak g
    rms=$(stat_of "$src" "RMS     amplitude")
    peak=$(stat_of "$src" "Maximum amplitude")
    g=$(awk -v r="$rms" -v p="$peak" -v wr="$want_rms" -v mp="$max_peak" 'BEGIN {
        g1 = wr - 20 * log(r) / log(10); g2 = mp - 20 * log(p) / log(10);
        printf "%.2f", (g1 < g2 ? g1 : g2) }')
    sx "$src" "${FL[@]}" "$dst" gain "$g"
}

# to_mp3 IN NAME : 16-bit, then MP3 mono CBR 96 kbit/s.
to_mp3() {
    sx "$1" -b 16 -e signed-integer "$T/final.wav"
    lame --quiet --noreplaygain -q 2 -m m -b 96 "$T/final.wav" "$out/$2"
}

# ------------------------------------------------------------------ fire --
# A warm low rumble, a softer roar and hiss of flame with a slow flicker, and
# crackles: many small dry ticks, some in quick clusters, and now and then a
# bigger pop.  The bed is cross-faded into itself; the crackles never cross
# the loop point, so the file loops without a seam.
#
# IMA ADPCM keeps the WAV under 150 KB at 44.1 kHz (16-bit PCM would be
# 517 KB).  SDL_mixer reads it with Mix_LoadWAV but not with Mix_LoadMUS; if
# the game ever streams it as music, run with FIRE_ENCODING=u-law (259 KB,
# read by both).  An ADPCM block holds 505 samples, so the loop is a whole
# number of blocks (524 blocks = 6.0005 s): no padded block, no silent gap at
# the loop point.
make_fire() {
    reseed 7
    local L=$(( 524 * 505 )) XF=$(( RATE ))
    local LX=$(( L + XF ))

    snippet brown "$LX" "$T/f_rumble.wav" highpass 30 lowpass 320 \
        tremolo 0.23 20 gain -n -1
    snippet pink  "$LX" "$T/f_roar.wav" bandpass 650 1.6o \
        tremolo 0.41 45 tremolo 1.37 30 gain -n -1
    snippet white "$LX" "$T/f_hiss.wav" highpass 2500 lowpass 7000 \
        tremolo 0.83 60 tremolo 2.9 40 gain -n -1
    sx -m -v 0.6 "$T/f_rumble.wav" -v 0.2 "$T/f_roar.wav" -v 0.03 "$T/f_hiss.wav" \
        "${FL[@]}" "$T/f_bedx.wav"
    loopify "$T/f_bedx.wav" "$T/f_bed.wav" "$L" "$XF"

    # The crackles, one after another, each padded with the silence after it.
    local t files=() i=0 dur gap hp att
    between 20 120; t=$(ms "$R")
    local lead=$t
    while :; do
        between 1 100
        if (( R <= 12 )); then              # a pop: fuller, lower, longer
            between 25 60; dur=$(ms "$R")
            between 500 1400; hp=$R
            between 0 30; att=$R
            snippet white "$dur" "$T/f_c$i.wav" highpass "$hp" \
                equalizer $(( hp * 2 )) 1q +6 \
                fade l 0 "${dur}s" "${dur}s" gain -n "-$(tenths "$att")"
        else                                # a tick: short, dry, bright
            between 3 12; dur=$(ms "$R")
            between 1200 5000; hp=$R
            between 20 200; att=$R
            snippet white "$dur" "$T/f_c$i.wav" highpass "$hp" \
                fade l 0 "${dur}s" "${dur}s" gain -n "-$(tenths "$att")"
        fi
        between 1 100
        if (( R <= 35 )); then between 3 25; else between 25 260; fi
        gap=$(ms "$R")
        (( t + dur + gap + $(ms 80) < L )) || break
        sx "$T/f_c$i.wav" "${FL[@]}" "$T/f_p$i.wav" pad 0 "${gap}s"
        files+=("$T/f_p$i.wav")
        t=$(( t + dur + gap )); i=$(( i + 1 ))
    done
    sx "${files[@]}" "${FL[@]}" "$T/f_crk.wav" \
        pad "${lead}s" "${L}s" trim 0 "${L}s"

    sx -m -v 1 "$T/f_bed.wav" -v 1 "$T/f_crk.wav" "${FL[@]}" "$T/f_mix.wav"
    level "$T/f_mix.wav" "$T/f_lev.wav" -21 -3
    sx "$T/f_lev.wav" -e "${FIRE_ENCODING:-ima-adpcm}" "$out/fuego.wav"
}

# ----------------------------------------------------------------- glass --
# A sharp broadband crash, a spray of bright grit, and shards tinkling: each
# a few inharmonic high partials ringing down, dense at first, sparser and
# quieter as the pieces settle.
make_glass() {
    reseed 11
    local LEN=$(( 24 * RATE / 10 )) parts=() i t d f a dd

    snippet white "$(ms 12)"  "$T/g_hit.wav" highpass 800 \
        fade l 0 "$(ms 12)s" "$(ms 12)s" gain -n -1
    snippet white "$(ms 320)" "$T/g_crash.wav" highpass 1800 equalizer 5000 1o +4 \
        fade l 0 "$(ms 320)s" "$(ms 320)s" gain -n -3
    snippet brown "$(ms 90)"  "$T/g_thud.wav" lowpass 220 highpass 40 \
        fade l 0 "$(ms 90)s" "$(ms 90)s" gain -n -14
    parts+=("$T/g_hit.wav" "$T/g_crash.wav" "$T/g_thud.wav")

    # Grit: tiny bright ticks, the gaps between them growing.
    local files=() gap=0
    t=$(ms 8)
    i=0
    while (( t < $(ms 1500) )); do
        between 1 4; d=$(ms "$R")
        between 3500 9000; f=$R
        a=$(( 40 + t * 250 / RATE ))        # quieter as time goes on
        between 0 120; a=$(( a + R ))
        gap=$(( t / 6 + $(ms 4) ))
        between 0 "$gap"; gap=$(( $(ms 3) + R ))
        snippet white "$d" "$T/g_s$i.wav" highpass "$f" \
            fade l 0 "${d}s" "${d}s" gain -n "-$(tenths "$a")" pad 0 "${gap}s"
        files+=("$T/g_s$i.wav")
        t=$(( t + d + gap )); i=$(( i + 1 ))
    done
    sx "${files[@]}" "${FL[@]}" "$T/g_grit.wav" pad "$(ms 8)s" 0
    parts+=("$T/g_grit.wav")

    # Shards: onset times bunched towards the start (square of a uniform).
    local n k ratio
    for n in $(seq 0 27); do
        between 0 1000; t=$(( R * R * $(ms 1800) / 1000000 + $(ms 3) ))
        between 2600 7800; f=$R
        between 180 700; d=$(ms "$R")
        a=$(( 60 + t * 120 / RATE ))        # tenths of dB
        between 0 90; a=$(( a + R ))
        k=0
        for ratio in 1000 1720 2750; do
            local pf=$(( f * ratio / 1000 ))
            (( pf < 16000 )) || continue
            dd=$(( d * 1000 / ratio ))      # higher partials die sooner
            sx -n -r $RATE -c 1 "${FL[@]}" "$T/g_t${n}_$k.wav" synth "${dd}s" sine "$pf" \
                fade l 0 "${dd}s" "${dd}s" gain "-$(tenths $(( a + k * 50 )))" pad "${t}s"
            parts+=("$T/g_t${n}_$k.wav"); k=$(( k + 1 ))
        done
    done

    mix "$T/g_mixx.wav" "${parts[@]}"
    sx "$T/g_mixx.wav" "${FL[@]}" "$T/g_mix.wav" highpass 60 \
        pad 0 "${LEN}s" trim 0 "${LEN}s" fade t 0 "${LEN}s" "$(ms 150)s"
    level "$T/g_mix.wav" "$T/g_lev.wav" -18 -3
    to_mp3 "$T/g_lev.wav" "Vaso rompiéndose.mp3"
}

# ----------------------------------------------------------------- pages --
# Three page turns in 5 s, evenly spaced so the loop keeps the rhythm.  Each
# turn: paper crinkling as the page is lifted, a fluttering swish of
# band-passed noise as it sweeps over, and a soft flap as it lands.
make_pages() {
    reseed 23
    local LEN=$(( 5 * RATE )) parts=() n t d r1 r2 c i files k
    local starts=(150 1810 3470)
    for n in 0 1 2; do
        between 0 120; t=$(ms $(( starts[n] + R - 60 )))
        between 520 760; d=$(ms "$R")
        between 16 34; r1=$R
        between 5 9; r2=$R
        between 2200 3600; c=$R
        # The swish: three overlapping bursts whose band moves from low to
        # bright and back, like a filter sweeping with the page's speed.
        local seg sst slen sc lvl
        for seg in 0 1 2; do
            case $seg in
                0) sst=0;                slen=$(( d * 50 / 100 )); sc=$(( c * 55 / 100 )); lvl=-7 ;;
                1) sst=$(( d * 28 / 100 )); slen=$(( d * 50 / 100 )); sc=$(( c * 13 / 10 )); lvl=-4 ;;
                2) sst=$(( d * 58 / 100 )); slen=$(( d * 30 / 100 )); sc=$(( c * 8 / 10 ));  lvl=-6 ;;
            esac
            snippet white "$slen" "$T/p_sw${n}_$seg.wav" highpass 500 lowpass 8000 \
                equalizer "$sc" 1o +8 equalizer 250 1o -6 \
                tremolo "$r1" 55 tremolo "$r2" 35 \
                fade h "$(( slen * 45 / 100 ))s" "${slen}s" "$(( slen * 45 / 100 ))s" \
                gain -n "$lvl" pad "$(( t + sst ))s"
            parts+=("$T/p_sw${n}_$seg.wav")
        done

        # Crinkle: small ticks over the first ~35 % of the turn and a few at
        # its end.
        files=(); i=0; k=0
        while (( k < d * 35 / 100 )); do
            between 1 4; local cd=$(ms "$R")
            between 1800 6000; local hp=$R
            between 40 160; local at=$R
            between 3 40; local g=$(ms "$R")
            snippet white "$cd" "$T/p_k${n}_$i.wav" highpass "$hp" \
                fade l 0 "${cd}s" "${cd}s" gain -n "-$(tenths "$at")" pad 0 "${g}s"
            files+=("$T/p_k${n}_$i.wav"); k=$(( k + cd + g )); i=$(( i + 1 ))
        done
        sx "${files[@]}" "${FL[@]}" "$T/p_cr$n.wav" pad "${t}s" 0
        parts+=("$T/p_cr$n.wav")

        # The landing flap.
        local lt=$(( t + d * 82 / 100 ))
        snippet pink "$(ms 90)" "$T/p_fl$n.wav" highpass 150 lowpass 1400 \
            fade l "$(ms 4)s" "$(ms 90)s" "$(ms 86)s" gain -n -9 pad "${lt}s"
        parts+=("$T/p_fl$n.wav")
    done
    mix "$T/p_mixx.wav" "${parts[@]}"
    sx "$T/p_mixx.wav" "${FL[@]}" "$T/p_mix.wav" pad 0 "${LEN}s" trim 0 "${LEN}s"
    level "$T/p_mix.wav" "$T/p_lev.wav" -22 -3
    to_mp3 "$T/p_lev.wav" "Pasar páginas.mp3"
}

# ---------------------------------------------------------------- snore --
# Two breathing cycles in 6 s.  Inhale: the soft palate fluttering at
# ~70 Hz, i.e. breath noise chopped by a sawtooth at that rate plus a little
# of the buzz itself, shaped by throat resonances and swelling in and out.
# Exhale: a softer breathy sigh with a faint lip flutter.  Each cycle ends in
# quiet, and the gap across the loop point matches the gap between cycles.
make_snore() {
    reseed 31
    local LEN=$(( 6 * RATE )) parts=() n t0 ti te di de f1 f2
    local cyc=(100 3100)
    local inh=(1350 1300) exh=(950 1000)
    local fa=(66 72) fb=(78 69)
    for n in 0 1; do
        t0=$(ms "${cyc[n]}")
        di=$(ms "${inh[n]}"); de=$(ms "${exh[n]}")
        f1=${fa[n]}; f2=${fb[n]}

        snippet pink "$di" "$T/s_br$n.wav" highpass 120 lowpass 2200
        sx "$T/s_br$n.wav" "${FL[@]}" "$T/s_rasp$n.wav" \
            synth "${di}s" sawtooth amod "$f1:$f2" gain -n -1
        sx -n -r $RATE -c 1 "${FL[@]}" "$T/s_buzz$n.wav" \
            synth "${di}s" sawtooth "$f1:$f2" lowpass 500 gain -n -1
        sx -m -v 1 "$T/s_rasp$n.wav" -v 0.35 "$T/s_buzz$n.wav" "${FL[@]}" "$T/s_in$n.wav" \
            highpass 45 equalizer 280 1.2q +5 equalizer 850 2q +4 \
            lowpass 1600 lowpass 1600 \
            tremolo 3.1 15 \
            fade h "$(( di * 38 / 100 ))s" "${di}s" "$(( di * 30 / 100 ))s" \
            gain -n -1 pad "${t0}s"
        parts+=("$T/s_in$n.wav")

        te=$(( t0 + di + $(ms 150) ))
        snippet pink "$de" "$T/s_ex$n.wav" highpass 250 lowpass 1800 \
            equalizer 600 1o +3 tremolo 23 20 \
            fade h "$(( de * 18 / 100 ))s" "${de}s" "$(( de * 65 / 100 ))s" \
            gain -n -15 pad "${te}s"
        parts+=("$T/s_ex$n.wav")
    done
    mix "$T/s_mixx.wav" "${parts[@]}"
    sx "$T/s_mixx.wav" "${FL[@]}" "$T/s_mix.wav" pad 0 "${LEN}s" trim 0 "${LEN}s"
    level "$T/s_mix.wav" "$T/s_lev.wav" -21 -3
    to_mp3 "$T/s_lev.wav" "Ronquido.mp3"
}

make_fire
make_glass
make_pages
make_snore

# --------------------------------------------------------------- report --
status=0
for f in "fuego.wav" "Vaso rompiéndose.mp3" "Pasar páginas.mp3" "Ronquido.mp3"; do
    p="$out/$f"
    dur=$(sox --i -D "$p")
    peak=$(stat_of "$p" "Maximum amplitude")
    rms=$(stat_of "$p" "RMS     amplitude")
    size=$(wc -c < "$p")
    line=$(awk -v d="$dur" -v p="$peak" -v r="$rms" -v s="$size" 'BEGIN {
        printf "%6.2f s  peak %6.1f dBFS  RMS %6.1f dBFS  %4d KB",
               d, 20 * log(p) / log(10), 20 * log(r) / log(10), s / 1024 }')
    printf '%-24s %s\n' "$f" "$line"
    if awk -v p="$peak" 'BEGIN { exit !(20 * log(p) / log(10) > -1) }'; then
        echo "make_sounds.sh: $f peaks above -1 dBFS" >&2; status=1
    fi
done
exit $status
