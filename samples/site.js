// Small helpers of the allotment society's pages.
function toggleMenu(id) {
    var el = document.getElementById(id);
    el.style.display = el.style.display === "none" ? "block" : "none";
}

function showGateCode(plot)
{
    if (!plot) return;
    alert("Ask the secretary for the code of gate " + plot);
}

var Calendar = {
    init: function () { this.month = new Date().getMonth(); },
    next: function () { this.month = (this.month + 1) % 12; }
};

function formatFrostDate(d) {
    return d.getDate() + "/" + (d.getMonth() + 1);
}

FUNCTION legacyCounter() { return 0; } // old page code, upper case on purpose
window.onload = function () { Calendar.init(); };
