"""Simuler la propagation d'une onde sinusoïdale le long d'une corde.

Activité de Tolvi « Simuler la propagation en Python » : le programme lit
deux profils de la corde enregistrés avec Tolvi à deux dates, et le graphe
du point M1, puis les compare au modèle de l'onde progressive sinusoïdale

    u(x, t) = A sin 2π(t / T − x / λ)

où t est compté à partir du départ de l'onde à la source.

Il fonctionne avec Python 3, numpy et matplotlib (EduPython, Thonny, ou
Python installé sur l'ordinateur). Placer les trois fichiers CSV enregistrés
avec Tolvi dans le même dossier que ce programme, vérifier les dates et
l'abscisse de M1 ci-dessous, puis lancer le programme. On peut aussi donner
les fichiers et les dates sur la ligne de commande :

    python simulation_onde.py corde1.csv 3,00 corde2.csv 3,50 graphe.csv
"""

import sys

import numpy as np
import matplotlib.pyplot as plt

# Les fichiers enregistrés avec Tolvi, et les dates lues au chronomètre.
fichier_corde_1 = "corde1.csv"  # profil de la corde (Ctrl+Maj+R)
date_1 = 3.00  # s
fichier_corde_2 = "corde2.csv"
date_2 = 3.50  # s
fichier_graphe = "graphe.csv"  # valeurs du graphe (Ctrl+Maj+S)
x_M1 = 1.00  # m, abscisse du point M1 (marqueur bleu)

if len(sys.argv) == 6:
    fichier_corde_1, fichier_corde_2, fichier_graphe = sys.argv[1], sys.argv[3], sys.argv[5]
    date_1 = float(sys.argv[2].replace(",", "."))
    date_2 = float(sys.argv[4].replace(",", "."))


def lire_csv(nom):
    """Les colonnes d'un fichier CSV de Tolvi (point-virgule entre les
    colonnes, virgule décimale, une ligne de titres) ; une case vide
    (marqueur absent) donne nan."""
    lignes = []
    with open(nom, encoding="utf-8-sig") as f:
        for ligne in f.read().splitlines()[1:]:
            if ligne.strip():
                cases = ligne.split(";")
                lignes.append([float(c.replace(",", ".")) if c.strip() else np.nan for c in cases])
    return np.array(lignes).T


def cretes(abscisses, valeurs):
    """Les abscisses des maximums locaux qui dépassent la moitié de la plus
    grande valeur."""
    haut = np.nanmax(valeurs) / 2
    i = np.arange(1, len(valeurs) - 1)
    garde = (valeurs[i] >= valeurs[i - 1]) & (valeurs[i] > valeurs[i + 1]) & (valeurs[i] > haut)
    return abscisses[i[garde]]


def texte(nombre, decimales=2):
    """Un nombre écrit à la française."""
    return f"{nombre:.{decimales}f}".replace(".", ",")


x, u_corde_1 = lire_csv(fichier_corde_1)[:2]
_, u_corde_2 = lire_csv(fichier_corde_2)[:2]
t, u_M1 = lire_csv(fichier_graphe)[:2]

# L'amplitude : le plus grand déplacement sur la corde (cm).
A = np.nanmax(np.abs(u_corde_1))

# La période : durée moyenne entre deux crêtes du graphe de M1.
T = np.mean(np.diff(cretes(t, u_M1)))

# (1) À COMPLÉTER : la longueur d'onde, distance moyenne entre deux crêtes
#     voisines de la corde à la date 1 (utiliser cretes et np.diff).
lam = np.mean(np.diff(cretes(x, u_corde_1)))
if lam is ...:
    sys.exit("Compléter la ligne (1) du programme : la longueur d'onde.")

v = lam / T
print(f"Amplitude : A = {texte(A, 1)} cm")
print(f"Période (graphe de M1) : T = {texte(T)} s")
print(f"Longueur d'onde (corde à {texte(date_1)} s) : λ = {texte(lam)} m")
print(f"Célérité : v = λ / T = {texte(v)} m/s")

# Une crête suivie d'une date à l'autre : elle a avancé de moins d'une
# longueur d'onde.
avant = cretes(x, u_corde_1)[0]
apres = cretes(x, u_corde_2)
deplacement = apres[apres > avant][0] - avant
print(f"Célérité (une crête suivie de {texte(date_1)} s à {texte(date_2)} s) : "
      f"v = {texte(deplacement / (date_2 - date_1))} m/s")

# Le départ de l'onde : le front (le point en mouvement le plus éloigné de la
# source) a parcouru v × (date − départ).
front = x[np.nonzero(np.abs(u_corde_1) > 0.005)[0][-1]]
depart = date_1 - front / v
print(f"Départ de l'onde à la source : t = {texte(depart)} s")


def onde(x, t):
    """Le modèle u(x, t) de l'onde progressive sinusoïdale (cm), t compté
    depuis le départ de l'onde, et la corde au repos au-delà du front."""
    # (2) À COMPLÉTER : u(x, t) = A sin 2π(t / T − x / λ).
    u = A * np.sin(2 * np.pi * (t / T - x / lam))
    if u is ...:
        sys.exit("Compléter la ligne (2) du programme : le modèle u(x, t).")
    return np.where(x <= v * t, u, 0.0)


ecarts = [
    ("corde à " + texte(date_1) + " s", np.max(np.abs(u_corde_1 - onde(x, date_1 - depart)))),
    ("corde à " + texte(date_2) + " s", np.max(np.abs(u_corde_2 - onde(x, date_2 - depart)))),
    ("graphe de M1", np.nanmax(np.abs(u_M1 - onde(x_M1, t - depart)))),
]
for nom, ecart in ecarts:
    print(f"Écart maximal entre Tolvi et le modèle, {nom} : {texte(ecart, 1)} cm")

figure, (haut, bas) = plt.subplots(2, 1, figsize=(8, 7))
for date, u, couleur in ((date_1, u_corde_1, "tab:green"), (date_2, u_corde_2, "tab:purple")):
    haut.plot(x, u, color=couleur, label=f"Tolvi, t = {texte(date)} s")
    haut.plot(x, onde(x, date - depart), "--", color="black", linewidth=0.8)
haut.set_xlabel("x (m)")
haut.set_ylabel("u (cm)")
haut.set_title("La corde à deux dates (pointillés : le modèle)")
haut.legend()
bas.plot(t, u_M1, color="tab:blue", label="Tolvi, point M1")
bas.plot(t, onde(x_M1, t - depart), "--", color="black", linewidth=0.8, label="modèle")
bas.set_xlabel("t (s)")
bas.set_ylabel("u (cm)")
bas.set_title("Le point M1 au cours du temps")
bas.legend()
figure.tight_layout()
figure.savefig("simulation_onde.png")
if plt.get_backend().lower() != "agg":
    plt.show()
